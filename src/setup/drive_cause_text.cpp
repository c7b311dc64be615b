#include "setup/drive_cause_text.h"

#include "i18n/own_texts.h"
#include "i18n/translate.h"

namespace corvesta {

std::u16string_view DriveCauseText(DriveCause cause) {
  switch (cause) {
  case DriveCause::None:
    return {};
  case DriveCause::Refused:
    return kDriveRefusedText;
  case DriveCause::NoAnswer:
    return kDriveNoAnswerText;
  case DriveCause::NoFileSharing:
    return kDriveNoFileSharingText;
  case DriveCause::NoSuchShare:
    return kDriveNoSuchShareText;
  case DriveCause::LetterInUse:
    return kDriveLetterInUseText;
  case DriveCause::ShareOnOtherLetter:
    return kDriveShareOnOtherLetterText;
  case DriveCause::NoDesktopService:
    return kDriveNoDesktopServiceText;
  case DriveCause::Unsupported:
    return kDriveUnsupportedText;
  case DriveCause::UserNameWithSemicolon:
    return kDriveSemicolonUserText;
  case DriveCause::NotMapped:
    return kDriveNotMappedText;
  case DriveCause::BadValue:
    return kDriveBadValueText;
  case DriveCause::RecordFailed:
    return kDriveRecordFailedText;
  case DriveCause::Cancelled:
    return kDriveCancelledText;
  case DriveCause::Failed:
    break;
  }
  return kDriveFailedText;
}

std::u16string DriveFailureMessage(std::u16string_view headline, DriveCause cause) {
  std::u16string message = Translate(headline);
  const std::u16string_view reason = DriveCauseText(cause);
  if (!reason.empty()) {
    message += u'\n';
    message += Translate(reason);
  }
  return message;
}

} // namespace corvesta
