#include "i18n/own_texts.h"

#include <array>

namespace corvesta {
namespace {

constexpr auto kOwnTexts = std::to_array<OwnText>({
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
    {kNoPasswordSourceText,
     u"Aucun mot de passe pour la connexion, et aucun terminal pour le demander : donnez-le avec "
     u"--password-stdin (la première ligne de l'entrée standard) ou dans la variable "
     u"d'environnement CORVESTA_PASSWORD.",
     u"Kein Kennwort für die Anmeldung und kein Terminal, um danach zu fragen: Geben Sie es mit "
     u"--password-stdin (die erste Zeile der Standardeingabe) oder in der Umgebungsvariablen "
     u"CORVESTA_PASSWORD an.",
     u"No hay contraseña para el inicio de sesión ni un terminal para pedirla: indíquela con "
     u"--password-stdin (la primera línea de la entrada estándar) o en la variable de entorno "
     u"CORVESTA_PASSWORD.",
     u"Нет пароля для входа и нет терминала, чтобы его запросить: укажите его с помощью "
     u"--password-stdin (первая строка стандартного ввода) или в переменной окружения "
     u"CORVESTA_PASSWORD."},
    {kCliRebuildQuestionText,
     u"Le formatage reconstruit les disques et efface tout ce qu'ils contiennent. Répondez y "
     u"pour continuer ; --yes donne cette réponse sans poser la question.",
     u"Die Formatierung baut die Festplatten neu auf und löscht alles darauf. Antworten Sie y, "
     u"um fortzufahren; --yes gibt diese Antwort, ohne zu fragen.",
     u"El formateo reconstruye los discos y borra todo su contenido. Responda y para continuar; "
     u"--yes da esa respuesta sin preguntar.",
     u"Форматирование перестраивает диски и стирает всё, что на них есть. Ответьте y, чтобы "
     u"продолжить; --yes даёт этот ответ без вопроса."},
    {kCliFormatCompleteText, u"Les volumes ont été créés et formatés.",
     u"Die Volumes wurden erstellt und formatiert.", u"Los volúmenes se han creado y formateado.",
     u"Тома созданы и отформатированы."},
    {kFormatLeaveWarningText,
     u"Le NAS est en cours de formatage. Le quitter maintenant laisse son service de fichiers "
     u"arrêté et ses disques non remontés ; appuyez de nouveau sur Ctrl-C pour quitter malgré "
     u"tout.",
     u"Das NAS wird gerade formatiert. Ein Abbruch jetzt lässt seinen Dateidienst angehalten und "
     u"seine Festplatten nicht wieder eingebunden; drücken Sie erneut Strg+C, um trotzdem "
     u"abzubrechen.",
     u"El NAS se está formateando. Si sale ahora, su servicio de archivos quedará detenido y sus "
     u"discos sin volver a montar; pulse Ctrl-C otra vez para salir de todos modos.",
     u"NAS форматируется. Если выйти сейчас, его файловая служба останется остановленной, а "
     u"диски — не подключёнными; нажмите Ctrl-C ещё раз, чтобы всё равно выйти."},
    {kFormatInterruptedText,
     u"Interrompu : remise en marche du service de fichiers du NAS, puis déconnexion.",
     u"Abgebrochen: Der Dateidienst des NAS wird wiederhergestellt, danach wird abgemeldet.",
     u"Interrumpido: se restablece el servicio de archivos del NAS y después se cierra la sesión.",
     u"Прервано: восстанавливается файловая служба NAS, затем выполняется выход."},
    {kFormatStateLostText, u"Le NAS a cessé de signaler l'état du formatage.",
     u"Das NAS meldet den Stand der Formatierung nicht mehr.",
     u"El NAS ha dejado de informar del estado del formateo.",
     u"NAS перестал сообщать о ходе форматирования."},
    {kFormatTooLongText,
     u"Le formatage ne s'est pas terminé dans le temps imparti. Le NAS est peut-être encore en "
     u"train de formater ; vérifiez ses volumes plus tard.",
     u"Die Formatierung ist in der vorgesehenen Zeit nicht fertig geworden. Das NAS formatiert "
     u"möglicherweise noch; prüfen Sie seine Volumes später.",
     u"El formateo no ha terminado en el tiempo previsto. Es posible que el NAS siga "
     u"formateando; compruebe sus volúmenes más tarde.",
     u"Форматирование не завершилось за отведённое время. Возможно, NAS ещё форматирует; "
     u"проверьте его тома позже."},
    {kNoVerdictText,
     u"Le NAS n'a pas répondu à la vérification de connexion. Rien n'a été modifié ; "
     u"réessayez.",
     u"Das NAS hat auf die Anmeldeprüfung nicht geantwortet. Nichts wurde geändert; versuchen "
     u"Sie es erneut.",
     u"El NAS no respondió a la comprobación de inicio de sesión. No se ha cambiado nada; "
     u"inténtelo de nuevo.",
     u"NAS не ответил на проверку входа. Ничего не изменено; повторите попытку."},
    {kAmbiguousBoxText,
     u"Deux appareils répondent avec l'adresse matérielle de ce NAS depuis des adresses "
     u"différentes. Désignez le NAS par son adresse avant de vous connecter.",
     u"Zwei Geräte antworten mit der Hardwareadresse dieses NAS von verschiedenen Adressen. "
     u"Geben Sie das NAS vor der Anmeldung mit seiner Adresse an.",
     u"Dos dispositivos responden con la dirección física de este NAS desde direcciones "
     u"distintas. Indique el NAS por su dirección antes de iniciar sesión.",
     u"Два устройства отвечают с аппаратным адресом этого NAS с разных адресов. Укажите NAS "
     u"по его адресу перед входом."},
    {kLoginTitleText, u"Connexion", u"Anmeldung", u"Inicio de sesión", u"Вход"},
    {kInvalidTextText, u"Le champ %s n'est pas un texte valide.",
     u"Das Feld %s enthält keinen gültigen Text.", u"El campo %s no es un texto válido.",
     u"Поле %s содержит недопустимый текст."},
    {kUnsupportedCharactersText,
     u"Le champ %s ne doit pas contenir de caractères de contrôle ni de caractères que le NAS ne "
     u"peut pas enregistrer, comme les emoji.",
     u"Das Feld %s darf keine Steuerzeichen und keine Zeichen enthalten, die das NAS nicht "
     u"speichern kann, etwa Emojis.",
     u"El campo %s no debe contener caracteres de control ni caracteres que el NAS no pueda "
     u"guardar, como los emoji.",
     u"Поле %s не должно содержать управляющих символов и символов, которые NAS не может "
     u"сохранить, например эмодзи."},
    {kEmptyNameText, u"Saisissez un nom pour le NAS.", u"Geben Sie einen Namen für das NAS ein.",
     u"Introduzca un nombre para el NAS.", u"Введите имя NAS."},
    {kMaskTooNarrowText,
     u"Un masque de sous-réseau 255.255.255.254 ou 255.255.255.255 ne laisse pas de place au NAS "
     u"et à sa passerelle. Veuillez saisir un masque plus large.",
     u"Eine Subnetzmaske 255.255.255.254 oder 255.255.255.255 lässt keinen Platz für das NAS und "
     u"sein Gateway. Bitte geben Sie eine weitere Maske ein.",
     u"Una máscara de subred 255.255.255.254 o 255.255.255.255 no deja sitio para el NAS y su "
     u"puerta de enlace. Introduzca una máscara más amplia.",
     u"Маска подсети 255.255.255.254 или 255.255.255.255 не оставляет места для NAS и шлюза. "
     u"Введите более широкую маску."},
    {kGatewayIsBoxAddressText, u"La passerelle ne doit pas être l'adresse IP du NAS lui-même.",
     u"Das Gateway darf nicht die eigene IP-Adresse des NAS sein.",
     u"La puerta de enlace no puede ser la propia dirección IP del NAS.",
     u"Шлюз не может совпадать с IP-адресом самого NAS."},
    {kChangeMayHaveBeenMadeText,
     u"Le NAS n'a pas répondu après l'envoi de la modification ; elle a donc peut-être été "
     u"appliquée. Vérifiez les paramètres et les volumes actuels du NAS (après un changement de "
     u"mot de passe : connectez-vous avec le nouveau) avant de la refaire.",
     u"Das NAS hat nach dem Senden der Änderung nicht geantwortet; sie wurde daher möglicherweise "
     u"übernommen. Prüfen Sie die aktuellen Einstellungen und Volumes des NAS (nach einer "
     u"Kennwortänderung: melden Sie sich mit dem neuen Kennwort an), bevor Sie sie wiederholen.",
     u"El NAS no respondió después de enviar el cambio, por lo que es posible que se haya "
     u"aplicado. Compruebe la configuración y los volúmenes actuales del NAS (tras un cambio de "
     u"contraseña: inicie sesión con la nueva) antes de repetirlo.",
     u"NAS не ответил после отправки изменения, поэтому оно, возможно, уже применено. Проверьте "
     u"текущие настройки и тома NAS (после смены пароля — войдите с новым паролем), прежде чем "
     u"повторять изменение."},
    {kSettingsNoFolderText,
     u"Aucun dossier de paramètres n'a pu être créé ; rien n'a été mémorisé.",
     u"Es konnte kein Einstellungsordner angelegt werden; nichts wurde gespeichert.",
     u"No se pudo crear ninguna carpeta de configuración; no se ha recordado nada.",
     u"Не удалось создать папку настроек; ничего не сохранено."},
    {kSettingsNotSavedText,
     u"Le fichier de paramètres %s n'a pas pu être écrit ; rien n'a été mémorisé.",
     u"Die Einstellungsdatei %s konnte nicht geschrieben werden; nichts wurde gespeichert.",
     u"No se pudo escribir el archivo de configuración %s; no se ha recordado nada.",
     u"Не удалось записать файл настроек %s; ничего не сохранено."},
    {kSettingsLegacyText,
     u"Le fichier de paramètres %s n'est pas un texte UTF-8 ; il a été laissé tel quel et rien "
     u"n'a été mémorisé.",
     u"Die Einstellungsdatei %s ist kein UTF-8-Text; sie wurde unverändert gelassen und nichts "
     u"wurde gespeichert.",
     u"El archivo de configuración %s no es texto UTF-8; se ha dejado como estaba y no se ha "
     u"recordado nada.",
     u"Файл настроек %s не является текстом UTF-8; он оставлен без изменений, ничего не "
     u"сохранено."},
    {kSettingsLinkText,
     u"Le fichier de paramètres %s est un lien vers un fichier qui ne peut pas être écrit ; rien "
     u"n'a été mémorisé.",
     u"Die Einstellungsdatei %s ist ein Verweis auf eine Datei, die nicht geschrieben werden "
     u"kann; nichts wurde gespeichert.",
     u"El archivo de configuración %s es un enlace a un archivo que no se puede escribir; no se "
     u"ha recordado nada.",
     u"Файл настроек %s является ссылкой на файл, который нельзя записать; ничего не сохранено."},
    {kSetIpTitleText, u"Adresse IP du NAS", u"IP-Adresse des NAS", u"Dirección IP del NAS",
     u"IP-адрес NAS"},
    {kAddressPartText, u"%s, partie %s sur 4", u"%s, Teil %s von 4", u"%s, parte %s de 4",
     u"%s, часть %s из 4"},
    {kBoxLeftSubnetText,
     u"Le NAS répond désormais à l'adresse %s, hors du sous-réseau de ce PC. Donnez-lui une "
     u"adresse de ce sous-réseau depuis la fenêtre principale.",
     u"Das NAS antwortet jetzt unter %s, außerhalb des Subnetzes dieses PCs. Geben Sie ihm im "
     u"Hauptfenster eine Adresse in diesem Subnetz.",
     u"El NAS responde ahora en %s, fuera de la subred de este PC. Asígnele una dirección de "
     u"esta subred desde la ventana principal.",
     u"NAS теперь отвечает по адресу %s, вне подсети этого ПК. Задайте ему адрес в этой "
     u"подсети в главном окне."},
    {kSearchingText, u"Recherche de NAS...", u"NAS werden gesucht...", u"Buscando NAS...",
     u"Поиск NAS..."},
    {kNoBoxAnsweredText, u"Aucun NAS n'a répondu.", u"Kein NAS hat geantwortet.",
     u"Ningún NAS ha respondido.", u"Ни один NAS не ответил."},
    {kNoBoxHintText,
     u"Vérifiez que le NAS est allumé et câblé, que ce PC est sur le même réseau et que le "
     u"pare-feu laisse entrer le port UDP %s ; puis cliquez sur « %s ».",
     u"Prüfen Sie, ob das NAS eingeschaltet und verkabelt ist, ob dieser PC im selben Netzwerk "
     u"ist und ob die Firewall den UDP-Port %s hereinlässt; klicken Sie dann auf „%s“.",
     u"Compruebe que el NAS esté encendido y conectado por cable, que este PC esté en la misma "
     u"red y que el cortafuegos deje entrar el puerto UDP %s; después haga clic en «%s».",
     u"Проверьте, что NAS включён и подключён кабелем, что этот ПК в той же сети и что "
     u"брандмауэр пропускает UDP-порт %s; затем нажмите «%s»."},
    {kDriveRefusedText,
     u"Le NAS a refusé le nom d'utilisateur ou le mot de passe, ou l'accès à ce partage.",
     u"Das NAS hat den Benutzernamen oder das Kennwort oder den Zugriff auf diese Freigabe "
     u"abgelehnt.",
     u"El NAS ha rechazado el nombre de usuario o la contraseña, o el acceso a este recurso "
     u"compartido.",
     u"NAS отклонил имя пользователя или пароль либо доступ к этому общему ресурсу."},
    {kDriveNoAnswerText, u"Le NAS n'a pas répondu à temps.",
     u"Das NAS hat nicht rechtzeitig geantwortet.", u"El NAS no respondió a tiempo.",
     u"NAS не ответил вовремя."},
    {kDriveNoFileSharingText, u"Le NAS n'accepte pas les connexions de partage de fichiers.",
     u"Das NAS nimmt keine Dateifreigabe-Verbindungen an.",
     u"El NAS no acepta conexiones para compartir archivos.",
     u"NAS не принимает подключения к общим файлам."},
    {kDriveNoSuchShareText, u"Le NAS n'a aucun partage de ce nom.",
     u"Das NAS hat keine Freigabe dieses Namens.",
     u"El NAS no tiene ningún recurso compartido con este nombre.",
     u"На NAS нет общего ресурса с таким именем."},
    {kDriveLetterInUseText, u"Cette lettre de lecteur est déjà utilisée.",
     u"Dieser Laufwerksbuchstabe wird bereits verwendet.", u"Esta letra de unidad ya está en uso.",
     u"Эта буква диска уже занята."},
    {kDriveShareOnOtherLetterText, u"Ce partage est déjà connecté à une autre lettre de lecteur.",
     u"Diese Freigabe ist bereits mit einem anderen Laufwerksbuchstaben verbunden.",
     u"Este recurso compartido ya está conectado a otra letra de unidad.",
     u"Этот общий ресурс уже подключён к другой букве диска."},
    {kDriveNoDesktopServiceText,
     u"Ce bureau n'a pas de service de fichiers pour les partages réseau (GVfs avec SMB).",
     u"Diese Arbeitsumgebung hat keinen Dateidienst für Netzwerkfreigaben (GVfs mit SMB).",
     u"Este escritorio no tiene un servicio de archivos para recursos de red (GVfs con SMB).",
     u"В этой среде рабочего стола нет файловой службы для сетевых ресурсов (GVfs с SMB)."},
    {kDriveUnsupportedText,
     u"Le service de fichiers du bureau ne peut pas connecter un partage de ce nom ou de cette "
     u"adresse.",
     u"Der Dateidienst der Arbeitsumgebung kann keine Freigabe mit diesem Namen oder dieser "
     u"Adresse verbinden.",
     u"El servicio de archivos del escritorio no puede conectar un recurso compartido con este "
     u"nombre o esta dirección.",
     u"Файловая служба рабочего стола не может подключить общий ресурс с таким именем или "
     u"адресом."},
    {kDriveSemicolonUserText,
     u"Un nom d'utilisateur contenant « ; » ne peut pas connecter un lecteur réseau.",
     u"Ein Benutzername mit „;“ kann kein Netzlaufwerk verbinden.",
     u"Un nombre de usuario que contiene \";\" no puede conectar una unidad de red.",
     u"Имя пользователя с «;» не может подключить сетевой диск."},
    {kDriveNotMappedText, u"Cette lettre de lecteur n'est pas connectée.",
     u"Dieser Laufwerksbuchstabe ist nicht verbunden.", u"Esta letra de unidad no está conectada.",
     u"Эта буква диска не подключена."},
    {kDriveBadValueText,
     u"La lettre de lecteur ou un nom ne peut pas servir pour un lecteur réseau.",
     u"Der Laufwerksbuchstabe oder ein Name ist für ein Netzlaufwerk nicht verwendbar.",
     u"La letra de unidad o un nombre no se puede usar para una unidad de red.",
     u"Букву диска или имя нельзя использовать для сетевого диска."},
    {kDriveRecordFailedText,
     u"La liste des lecteurs réseau n'a pas pu être lue ou écrite ; rien n'a été modifié.",
     u"Die Liste der Netzlaufwerke konnte nicht gelesen oder geschrieben werden; nichts wurde "
     u"geändert.",
     u"No se pudo leer ni escribir la lista de unidades de red; no se ha cambiado nada.",
     u"Не удалось прочитать или записать список сетевых дисков; ничего не изменено."},
    {kDriveCancelledText, u"La connexion a été annulée.", u"Die Verbindung wurde abgebrochen.",
     u"La conexión se ha cancelado.", u"Подключение отменено."},
    {kDriveFailedText, u"Le service de fichiers du bureau n'a pas pu connecter le partage.",
     u"Der Dateidienst der Arbeitsumgebung konnte die Freigabe nicht verbinden.",
     u"El servicio de archivos del escritorio no pudo conectar el recurso compartido.",
     u"Файловой службе рабочего стола не удалось подключить общий ресурс."},
    {kYesText, u"Oui", u"Ja", u"Sí", u"Да"},
    {kNoText, u"Non", u"Nein", u"No", u"Нет"},
});

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
