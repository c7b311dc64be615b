#include "i18n/own_texts.h"

#include <array>

namespace corvesta {
namespace {

constexpr std::array<OwnText, 8> kOwnTexts{{
    {kTwoDrivesNeededText, u"Ce mode de disque nécessite deux disques ; le NAS n'en a qu'un.",
     u"Dieser Festplattenmodus erfordert zwei Laufwerke; das NAS hat nur eines.",
     u"Este modo de disco requiere dos unidades; el NAS solo tiene una.",
     u"Для этого режима нужны два диска, а в NAS только один."},
    {kDiskNamesTooLongText,
     u"Les noms de périphérique des disques sont trop longs pour la demande de formatage.",
     u"Die Gerätenamen der Festplatten sind für die Formatierungsanfrage zu lang.",
     u"Los nombres de dispositivo de los discos son demasiado largos para la solicitud de "
     u"formateo.",
     u"Имена устройств дисков слишком длинные для запроса на форматирование."},
    {kDisksTooSmallText, u"Les disques sont trop petits pour ce mode de disque.",
     u"Die Festplatten sind für diesen Festplattenmodus zu klein.",
     u"Los discos son demasiado pequeños para este modo de disco.",
     u"Диски слишком малы для этого режима."},
    {kIdentityTooLongText,
     u"Le nom et le groupe de travail peuvent contenir au plus 15 octets, la description 30.",
     u"Name und Arbeitsgruppe dürfen höchstens 15 Byte lang sein, die Beschreibung 30.",
     u"El nombre y el grupo de trabajo pueden tener como máximo 15 bytes; la descripción, 30.",
     u"Имя и рабочая группа могут занимать не более 15 байт, описание — не более 30."},
    {kCredentialsTooLongText,
     u"Le nom d'utilisateur et le mot de passe peuvent contenir chacun au plus 16 octets.",
     u"Benutzername und Kennwort dürfen jeweils höchstens 16 Byte lang sein.",
     u"El nombre de usuario y la contraseña pueden tener como máximo 16 bytes cada uno.",
     u"Имя пользователя и пароль могут занимать не более 16 байт каждый."},
    {kFormatStateLostText, u"Le NAS a cessé de signaler l'état du formatage.",
     u"Das NAS meldet den Stand der Formatierung nicht mehr.",
     u"El NAS ha dejado de informar del estado del formateo.",
     u"NAS перестал сообщать о ходе форматирования."},
    {kLoginTitleText, u"Connexion", u"Anmeldung", u"Inicio de sesión", u"Вход"},
    {kBoxLeftSubnetText,
     u"Le NAS répond désormais à l'adresse %s, hors du sous-réseau de ce PC. Donnez-lui une "
     u"adresse de ce sous-réseau depuis la fenêtre principale.",
     u"Das NAS antwortet jetzt unter %s, außerhalb des Subnetzes dieses PCs. Geben Sie ihm im "
     u"Hauptfenster eine Adresse in diesem Subnetz.",
     u"El NAS responde ahora en %s, fuera de la subred de este PC. Asígnele una dirección de "
     u"esta subred desde la ventana principal.",
     u"NAS теперь отвечает по адресу %s, вне подсети этого ПК. Задайте ему адрес в этой "
     u"подсети в главном окне."},
}};

std::u16string_view In(const OwnText &text, LanguageId language) {
  switch (language) {
  case LanguageId::kFrench:
    return text.french;
  case LanguageId::kGerman:
    return text.german;
  case LanguageId::kSpanish:
    return text.spanish;
  case LanguageId::kRussian:
    return text.russian;
  case LanguageId::kEnglish:
    break;
  }
  return text.english;
}

} // namespace

std::span<const OwnText> OwnTexts() {
  return kOwnTexts;
}

std::optional<std::u16string_view> FindOwnText(LanguageId language, std::u16string_view english) {
  for (const OwnText &text : kOwnTexts) {
    if (text.english == english) {
      return In(text, language);
    }
  }
  return std::nullopt;
}

} // namespace corvesta
