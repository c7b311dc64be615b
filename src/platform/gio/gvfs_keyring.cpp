#include "platform/gio/gvfs_keyring.h"

#include <gio/gio.h>

namespace corvesta {
namespace {

constexpr char kSecrets[] = "org.freedesktop.secrets";
constexpr char kServicePath[] = "/org/freedesktop/secrets";
constexpr char kServiceInterface[] = "org.freedesktop.Secret.Service";
constexpr char kItemInterface[] = "org.freedesktop.Secret.Item";
// The schema GVfs stores network passwords under, and its protocol name.
constexpr char kNetworkSchema[] = "org.gnome.keyring.NetworkPassword";
constexpr char kSmbProtocol[] = "smb";
// Each call to the keyring waits at most this long.
constexpr gint kCallLimitMs = 2000;

GVariant *Call(GDBusConnection *bus, const char *path, const char *interface, const char *method,
               GVariant *parameters, const char *replyType) {
  GError *error = nullptr;
  GVariant *reply = g_dbus_connection_call_sync(
      bus, kSecrets, path, interface, method, parameters, G_VARIANT_TYPE(replyType),
      G_DBUS_CALL_FLAGS_NO_AUTO_START, kCallLimitMs, nullptr, &error);
  if (error != nullptr) {
    g_error_free(error);
  }
  return reply;
}

} // namespace

void ForgetSmbPassword(const std::string &server, const std::string &user) {
  GError *error = nullptr;
  GDBusConnection *bus = g_bus_get_sync(G_BUS_TYPE_SESSION, nullptr, &error);
  if (bus == nullptr) {
    g_error_free(error);
    return;
  }
  GVariantBuilder attributes;
  g_variant_builder_init(&attributes, G_VARIANT_TYPE("a{ss}"));
  g_variant_builder_add(&attributes, "{ss}", "xdg:schema", kNetworkSchema);
  g_variant_builder_add(&attributes, "{ss}", "protocol", kSmbProtocol);
  g_variant_builder_add(&attributes, "{ss}", "server", server.c_str());
  g_variant_builder_add(&attributes, "{ss}", "user", user.c_str());
  GVariant *found = Call(bus, kServicePath, kServiceInterface, "SearchItems",
                         g_variant_new("(a{ss})", &attributes), "(aoao)");
  if (found != nullptr) {
    // Locked items stay: unlocking them would ask the person.
    GVariantIter *unlocked = nullptr;
    GVariantIter *locked = nullptr;
    g_variant_get(found, "(aoao)", &unlocked, &locked);
    const gchar *item = nullptr;
    while (g_variant_iter_next(unlocked, "&o", &item)) {
      // When the service wants a prompt first (its reply names one), the
      // prompt is never shown and the item stays.
      if (GVariant *deleted = Call(bus, item, kItemInterface, "Delete", nullptr, "(o)")) {
        g_variant_unref(deleted);
      }
    }
    g_variant_iter_free(unlocked);
    g_variant_iter_free(locked);
    g_variant_unref(found);
  }
  g_object_unref(bus);
}

} // namespace corvesta
