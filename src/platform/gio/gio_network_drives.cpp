#include "platform/gio/gio_network_drives.h"

#include <gio/gio.h>

#include <algorithm>
#include <chrono>

#include "platform/gio/gvfs_keyring.h"
#include "platform/gio/smb_uri.h"
#include "platform/gtk_bookmarks.h"
#include "platform/tcp_probe.h"

namespace corvesta {

namespace {

using Clock = std::chrono::steady_clock;

constexpr std::uint16_t kFileSharingPort = 445;
// What the file sharing port is greeted with to see whether its server
// answers: an SMB2 NEGOTIATE request offering the dialects 2.0.2 and 2.1,
// after its 4-byte session header (the length, 104).
constexpr std::string_view kFileSharingGreeting{
    "\x00\x00\x00\x68"                                 // session header
    "\xFESMB\x40\x00\x00\x00\x00\x00\x00\x00"          // protocol, header size, charge, status
    "\x00\x00\x01\x00\x00\x00\x00\x00\x00\x00\x00\x00" // NEGOTIATE, 1 credit, flags, next
    "\x00\x00\x00\x00\x00\x00\x00\x00\x00\x00\x00\x00" // message id, process id
    "\x00\x00\x00\x00\x00\x00\x00\x00\x00\x00\x00\x00" // tree id, session id
    "\x00\x00\x00\x00\x00\x00\x00\x00\x00\x00\x00\x00\x00\x00\x00\x00" // signature
    "\x24\x00\x02\x00\x01\x00\x00\x00\x00\x00\x00\x00" // size 36, 2 dialects, signing
    "\x00\x00\x00\x00\x00\x00\x00\x00\x00\x00\x00\x00\x00\x00\x00\x00" // client id
    "\x00\x00\x00\x00\x00\x00\x00\x00"                                 // start time
    "\x02\x02\x10\x02",                                                // dialects 2.0.2, 2.1
    108};
// How often a waiting call looks at its stop request and its limit.
constexpr guint kWakeMs = 50;
// The probe of the file sharing port after a failure: at most this long.
constexpr std::chrono::milliseconds kProbeLimit{2000};
// After cancelling, GIO gets this long to report before the call gives up.
constexpr std::chrono::milliseconds kCancelGrace{1000};

template <typename T> struct GObjectRef {
  T *object = nullptr;
  GObjectRef() = default;
  explicit GObjectRef(T *taken) : object(taken) {}
  ~GObjectRef() {
    if (object != nullptr) {
      g_object_unref(object);
    }
  }
  GObjectRef(const GObjectRef &) = delete;
  GObjectRef &operator=(const GObjectRef &) = delete;
  T *get() const { return object; }
  explicit operator bool() const { return object != nullptr; }
};

bool DesktopHasSmb() {
  const gchar *const *schemes = g_vfs_get_supported_uri_schemes(g_vfs_get_default());
  for (; schemes != nullptr && *schemes != nullptr; ++schemes) {
    if (g_strcmp0(*schemes, "smb") == 0) {
      return true;
    }
  }
  return false;
}

// One asynchronous GIO operation run on a private main context of the
// calling thread, bounded by the drives' limit and cut short by a stop.
// Heap-held: when GIO does not report even after a cancel, the call gives
// up and the state is left to the (never again iterated) context.
struct Operation {
  GMainContext *context = nullptr;
  GCancellable *cancellable = nullptr;
  bool done = false;
  bool timedOut = false;
  bool stopped = false;
  GError *error = nullptr;
  GMount *mount = nullptr;
  // The credentials the first ask for a password is answered with.
  std::string user;
  std::string password;
  bool offerPassword = true;
  GPasswordSave save = G_PASSWORD_SAVE_FOR_SESSION;
  int asks = 0;

  ~Operation() {
    if (error != nullptr) {
      g_error_free(error);
    }
    if (cancellable != nullptr) {
      g_object_unref(cancellable);
    }
  }
};

void OnAskPassword(GMountOperation *mountOperation, gchar *, gchar *, gchar *defaultDomain,
                   GAskPasswordFlags flags, gpointer data) {
  auto *operation = static_cast<Operation *>(data);
  ++operation->asks;
  // A second ask means the first answer was refused: never loop, never
  // prompt.
  if (operation->asks > 1 || !operation->offerPassword) {
    g_mount_operation_reply(mountOperation, G_MOUNT_OPERATION_ABORTED);
    return;
  }
  if ((flags & G_ASK_PASSWORD_ANONYMOUS_SUPPORTED) != 0) {
    g_mount_operation_set_anonymous(mountOperation, FALSE);
  }
  if ((flags & G_ASK_PASSWORD_NEED_USERNAME) != 0) {
    g_mount_operation_set_username(mountOperation, operation->user.c_str());
  }
  if ((flags & G_ASK_PASSWORD_NEED_DOMAIN) != 0) {
    g_mount_operation_set_domain(mountOperation, defaultDomain != nullptr ? defaultDomain : "");
  }
  g_mount_operation_set_password(mountOperation, operation->password.c_str());
  g_mount_operation_set_password_save(mountOperation, operation->save);
  g_mount_operation_reply(mountOperation, G_MOUNT_OPERATION_HANDLED);
}

void OnAskQuestion(GMountOperation *mountOperation, gchar *, gchar **, gpointer) {
  g_mount_operation_reply(mountOperation, G_MOUNT_OPERATION_ABORTED);
}

gboolean Wake(gpointer) {
  return G_SOURCE_CONTINUE;
}

// Iterates the operation's context until it reports, or gives up; false
// when it gave up (the operation is then left alive).
bool RunOperation(Operation *operation, std::stop_token &stop) {
  GSource *wake = g_timeout_source_new(kWakeMs);
  g_source_set_callback(wake, Wake, nullptr, nullptr);
  g_source_attach(wake, operation->context);
  const Clock::time_point deadline = Clock::now() + DriveCallLimit();
  Clock::time_point giveUp = Clock::time_point::max();
  while (!operation->done) {
    const Clock::time_point now = Clock::now();
    if (giveUp == Clock::time_point::max()) {
      if (stop.stop_requested()) {
        operation->stopped = true;
      } else if (now >= deadline) {
        operation->timedOut = true;
      }
      if (operation->stopped || operation->timedOut) {
        g_cancellable_cancel(operation->cancellable);
        giveUp = now + kCancelGrace;
      }
    } else if (now >= giveUp) {
      break;
    }
    g_main_context_iteration(operation->context, TRUE);
  }
  g_source_destroy(wake);
  g_source_unref(wake);
  return operation->done;
}

// Pushes a private context on the calling thread for one call.
class PrivateContext {
public:
  PrivateContext() : m_context(g_main_context_new()) {
    g_main_context_push_thread_default(m_context);
  }
  ~PrivateContext() {
    g_main_context_pop_thread_default(m_context);
    g_main_context_unref(m_context);
  }
  PrivateContext(const PrivateContext &) = delete;
  PrivateContext &operator=(const PrivateContext &) = delete;
  GMainContext *Get() const { return m_context; }

private:
  GMainContext *m_context;
};

DriveCause CauseOf(const Operation &operation, const std::string &server) {
  if (operation.stopped) {
    return DriveCause::Cancelled;
  }
  if (operation.timedOut) {
    return DriveCause::NoAnswer;
  }
  const GError *error = operation.error;
  if (error == nullptr || error->domain != G_IO_ERROR) {
    return DriveCause::Failed;
  }
  switch (error->code) {
  case G_IO_ERROR_FAILED_HANDLED:
  case G_IO_ERROR_PERMISSION_DENIED:
    return DriveCause::Refused;
  case G_IO_ERROR_TIMED_OUT:
  case G_IO_ERROR_HOST_NOT_FOUND:
  case G_IO_ERROR_HOST_UNREACHABLE:
  case G_IO_ERROR_NETWORK_UNREACHABLE:
    return DriveCause::NoAnswer;
  case G_IO_ERROR_NOT_SUPPORTED:
    // The SMB back end is there (Map and Reconnect check it first): it
    // cannot take this share's name or address.
    return DriveCause::Unsupported;
  case G_IO_ERROR_CANCELLED:
    return DriveCause::Cancelled;
  default:
    break;
  }
  if (operation.asks >= 2) {
    return DriveCause::Refused;
  }
  // The error's text is translated and varies: ask the box's file sharing
  // server instead, which may take connections and never answer them.
  switch (ProbeTcpService(server, kFileSharingPort, std::min(kProbeLimit, DriveCallLimit()),
                          kFileSharingGreeting)) {
  case PortProbe::Refused:
    return DriveCause::NoFileSharing;
  case PortProbe::Open:
    return DriveCause::NoSuchShare;
  case PortProbe::Mute:
  case PortProbe::Silent:
    return DriveCause::NoAnswer;
  case PortProbe::NoAddress:
    break;
  }
  return DriveCause::Failed;
}

std::string Detail(const Operation &operation) {
  if (operation.error == nullptr) {
    return {};
  }
  return std::string(g_quark_to_string(operation.error->domain)) + " " +
         std::to_string(operation.error->code);
}

GMount *FindMount(GFile *file) {
  GError *error = nullptr;
  GMount *mount = g_file_find_enclosing_mount(file, nullptr, &error);
  if (error != nullptr) {
    g_error_free(error);
  }
  return mount;
}

// The local folder of a mounted share (through FUSE); empty without one.
std::string LocalFolder(GFile *file) {
  gchar *path = g_file_get_path(file);
  std::string folder = path != nullptr ? path : "";
  g_free(path);
  return folder;
}

void OnMounted(GObject *source, GAsyncResult *result, gpointer data) {
  auto *operation = static_cast<Operation *>(data);
  g_file_mount_enclosing_volume_finish(G_FILE(source), result, &operation->error);
  operation->done = true;
}

void OnUnmounted(GObject *source, GAsyncResult *result, gpointer data) {
  auto *operation = static_cast<Operation *>(data);
  g_mount_unmount_with_operation_finish(G_MOUNT(source), result, &operation->error);
  operation->done = true;
}

// Mounts the share of `file` unless it is mounted already.
DriveResult Mount(GFile *file, const std::string &server, const std::string &user,
                  const std::string &password, bool offerPassword, bool remember,
                  std::stop_token stop) {
  if (GObjectRef<GMount> existing(FindMount(file)); existing) {
    return {};
  }
  PrivateContext context;
  auto *operation = new Operation;
  operation->context = context.Get();
  operation->cancellable = g_cancellable_new();
  operation->user = user;
  operation->password = password;
  operation->offerPassword = offerPassword;
  operation->save = remember ? G_PASSWORD_SAVE_PERMANENTLY : G_PASSWORD_SAVE_FOR_SESSION;
  GObjectRef<GMountOperation> mountOperation(g_mount_operation_new());
  g_signal_connect(mountOperation.get(), "ask-password", G_CALLBACK(OnAskPassword), operation);
  g_signal_connect(mountOperation.get(), "ask-question", G_CALLBACK(OnAskQuestion), operation);
  g_file_mount_enclosing_volume(file, G_MOUNT_MOUNT_NONE, mountOperation.get(),
                                operation->cancellable, OnMounted, operation);
  if (!RunOperation(operation, stop)) {
    // Left to GIO: the operation outlives this call on purpose.
    g_signal_handlers_disconnect_by_data(mountOperation.get(), operation);
    return {operation->stopped ? DriveCause::Cancelled : DriveCause::NoAnswer, "no report"};
  }
  g_signal_handlers_disconnect_by_data(mountOperation.get(), operation);
  DriveResult result;
  if (operation->error != nullptr &&
      g_error_matches(operation->error, G_IO_ERROR, G_IO_ERROR_ALREADY_MOUNTED)) {
    result = {}; // mounted meanwhile by someone else: take that mount
  } else if (operation->error != nullptr || operation->stopped || operation->timedOut) {
    result = {CauseOf(*operation, server), Detail(*operation)};
  }
  delete operation;
  return result;
}

DriveResult UnmountOnce(GMount *mount, GMountUnmountFlags flags, std::stop_token &stop,
                        bool &busy) {
  PrivateContext context;
  auto *operation = new Operation;
  operation->context = context.Get();
  operation->cancellable = g_cancellable_new();
  g_mount_unmount_with_operation(mount, flags, nullptr, operation->cancellable, OnUnmounted,
                                 operation);
  if (!RunOperation(operation, stop)) {
    return {operation->stopped ? DriveCause::Cancelled : DriveCause::NoAnswer, "no report"};
  }
  busy =
      operation->error != nullptr && g_error_matches(operation->error, G_IO_ERROR, G_IO_ERROR_BUSY);
  DriveResult result;
  if (operation->stopped) {
    result = {DriveCause::Cancelled, {}};
  } else if (operation->timedOut) {
    result = {DriveCause::NoAnswer, {}};
  } else if (operation->error != nullptr) {
    result = {DriveCause::Failed, Detail(*operation)};
  }
  delete operation;
  return result;
}

bool SameMount(GMount *a, GMount *b) {
  GObjectRef<GFile> rootA(g_mount_get_root(a));
  GObjectRef<GFile> rootB(g_mount_get_root(b));
  return g_file_equal(rootA.get(), rootB.get());
}

GFile *ShareFile(const DriveRecord &record) {
  return g_file_new_for_uri(SmbUri(record.server, record.share, record.user).c_str());
}

// True when one of `records` reaches its share through `mount`.
bool PointedTo(GMount *mount, const std::vector<DriveRecord> &records) {
  for (const DriveRecord &record : records) {
    GObjectRef<GFile> file(ShareFile(record));
    GObjectRef<GMount> other(FindMount(file.get()));
    if (other && SameMount(mount, other.get())) {
      return true;
    }
  }
  return false;
}

// Unmounts, by force when the mount is busy.
DriveResult UnmountWhole(GMount *mount, std::stop_token &stop) {
  bool busy = false;
  DriveResult unmounted = UnmountOnce(mount, G_MOUNT_UNMOUNT_NONE, stop, busy);
  if (busy) {
    unmounted = UnmountOnce(mount, G_MOUNT_UNMOUNT_FORCE, stop, busy);
  }
  return unmounted;
}

} // namespace

GioNetworkDrives::GioNetworkDrives(DrivePlaces places) : m_book(std::move(places)) {}

DriveResult GioNetworkDrives::List(std::vector<DriveMapping> &mappings) {
  const DriveResult read = ReadRecords(mappings);
  for (DriveMapping &mapping : mappings) {
    GObjectRef<GFile> file(
        g_file_new_for_uri(SmbUri(mapping.server, mapping.share, mapping.user).c_str()));
    if (GObjectRef<GMount> mount(FindMount(file.get())); mount) {
      mapping.connected = true;
      mapping.folder = LocalFolder(file.get());
    }
  }
  return read;
}

std::vector<DriveMapping> GioNetworkDrives::Records() {
  std::vector<DriveMapping> mappings;
  ReadRecords(mappings);
  return mappings;
}

DriveResult GioNetworkDrives::ReadRecords(std::vector<DriveMapping> &mappings) const {
  std::vector<BookEntry> entries;
  const DriveResult read = m_book.Entries(entries);
  mappings.clear();
  for (const BookEntry &entry : entries) {
    DriveMapping mapping;
    mapping.letter = entry.record.letter;
    mapping.server = entry.record.server;
    mapping.share = entry.record.share;
    mapping.user = entry.record.user;
    mapping.box = entry.record.box;
    mapping.remembered = entry.remembered;
    mappings.push_back(std::move(mapping));
  }
  return read;
}

std::string GioNetworkDrives::LettersInUse() {
  return m_book.LettersInUse();
}

DriveResult GioNetworkDrives::Map(const DriveMapRequest &request, std::stop_token stop) {
  if ((request.letter != 0 && !IsDriveLetter(request.letter)) || request.server.empty() ||
      request.share.empty()) {
    return {DriveCause::BadValue, {}};
  }
  // GVfs takes the part before ';' as a domain, escaped or not.
  if (request.user.find(';') != std::string::npos) {
    return {DriveCause::UserNameWithSemicolon, {}};
  }
  if (DriveResult free = m_book.CheckFree(request.letter, request.server, request.share);
      !free.Ok()) {
    return free;
  }
  if (!DesktopHasSmb()) {
    return {DriveCause::NoDesktopService, {}};
  }
  const std::string uri = SmbUri(request.server, request.share, request.user);
  GObjectRef<GFile> file(g_file_new_for_uri(uri.c_str()));
  const bool mountedBefore = static_cast<bool>(GObjectRef<GMount>(FindMount(file.get())));
  if (DriveResult mounted = Mount(file.get(), request.server, request.user, request.password, true,
                                  request.remember, stop);
      !mounted.Ok()) {
    return mounted;
  }
  DriveRecord record;
  record.letter = request.letter;
  record.server = request.server;
  record.share = request.share;
  record.user = request.user;
  record.box = request.box;
  // Both steps run under the records' lock: what another process recorded
  // meanwhile is seen, and nothing is recorded in between.
  AddSteps steps;
  steps.prepare = [&](DriveRecord &settled) {
    // Another process may have let go of the mount since: mount it again.
    if (DriveResult mounted = Mount(file.get(), request.server, request.user, request.password,
                                    true, request.remember, stop);
        !mounted.Ok()) {
      return mounted;
    }
    settled.folder = LocalFolder(file.get());
    settled.bookmark =
        MakeBookmarkLine(uri, settled.letter, request.share, request.box, request.server);
    return DriveResult{};
  };
  steps.undo = [&](const std::vector<DriveRecord> &held) {
    // Nothing of this call stays behind, but a mount that was there before
    // or that another mapping now uses is not this call's to take.
    GObjectRef<GMount> mount(FindMount(file.get()));
    if (mountedBefore || !mount || PointedTo(mount.get(), held)) {
      return;
    }
    std::stop_token none;
    UnmountWhole(mount.get(), none);
  };
  return m_book.Add(record, request.remember, steps);
}

DriveResult GioNetworkDrives::Unmap(char letter, std::stop_token stop) {
  RemoveSteps steps;
  // Decided under the records' lock: a mount that another letter uses, or
  // that another process has just recorded, stays.
  steps.release = [&](const DriveRecord &record, const std::vector<DriveRecord> &others) {
    GObjectRef<GFile> file(ShareFile(record));
    GObjectRef<GMount> mount(FindMount(file.get()));
    if (!mount || PointedTo(mount.get(), others)) {
      return DriveResult{};
    }
    return UnmountWhole(mount.get(), stop);
  };
  // The password GVfs kept goes with the last drive of that user on that
  // server.
  steps.forget = [](const DriveRecord &record, const std::vector<DriveRecord> &remaining) {
    const bool used = std::any_of(remaining.begin(), remaining.end(), [&](const DriveRecord &r) {
      return r.server == record.server && r.user == record.user;
    });
    if (!used) {
      ForgetSmbPassword(record.server, record.user);
    }
  };
  return m_book.Remove(letter, steps);
}

DriveResult GioNetworkDrives::Reconnect(const DriveMapping &mapping, const DriveLogin &login,
                                        std::stop_token stop) {
  if (!DesktopHasSmb()) {
    return {DriveCause::NoDesktopService, {}};
  }
  GObjectRef<GFile> file(
      g_file_new_for_uri(SmbUri(mapping.server, mapping.share, mapping.user).c_str()));
  // The keyring first: GVfs asks only when it has no password.
  const std::string &user = login.given ? login.user : mapping.user;
  if (DriveResult mounted =
          Mount(file.get(), mapping.server, user, login.password, login.given, true, stop);
      !mounted.Ok()) {
    return mounted;
  }
  const std::string folder = LocalFolder(file.get());
  if (folder.empty() || m_book.Link(mapping.letter, folder) == LinkState::Ours) {
    return {};
  }
  return m_book.SetFolder(mapping.letter, folder);
}

bool InstallGioNetworkDrives() {
  const std::optional<DrivePlaces> places = DrivePlaces::FromEnvironment();
  if (!places) {
    return false;
  }
  SetNetworkDrives(std::make_shared<GioNetworkDrives>(*places));
  return true;
}

} // namespace corvesta
