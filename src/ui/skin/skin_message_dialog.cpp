#include "ui/skin/skin_message_dialog.h"

#include <QAccessible>
#include <QFontMetrics>
#include <QGuiApplication>
#include <QPainter>
#include <QScreen>
#include <algorithm>
#include <qdrawutil.h>

#include "i18n/own_texts.h"
#include "i18n/translate.h"
#include "ui/qt_text.h"
#include "ui/skin/control_id.h"
#include "ui/skin/gdip_button.h"
#include "ui/skin/gdip_icon_static.h"
#include "ui/skin/skin_font.h"
#include "ui/skin/skin_image_ids.h"
#include "ui/skin/skin_message_accessible.h"
#include "ui/skin/trans_static.h"

namespace corvesta {
namespace {

// The dialog artwork's bands: the title strip with its accent rule, the
// button footer, and the corners; the body between them stretches.
constexpr int kTitleStrip = 50;
constexpr int kFooter = 64;
constexpr int kCornerRadius = 10;
constexpr QMargins kFrameSlices{kCornerRadius, kTitleStrip, kCornerRadius, kFooter};

constexpr int kTitleHeight = 19;
constexpr int kTitleLeft = 18;
constexpr int kTitleTop = 13;
constexpr int kTitleLineHeight = 24;
constexpr QSize kCloseSize{28, 28};
constexpr int kCloseInset = 12; // from the right edge to the close button
constexpr int kCloseTop = 10;

constexpr int kTextHeight = 15;
constexpr int kMargin = 24;
constexpr int kBodyPadding = 20;
constexpr int kIconSize = 40;
constexpr int kIconGap = 16;

constexpr QSize kButtonSize{110, 32};
constexpr int kButtonTextPadding = 24;
constexpr int kButtonGap = 20;

constexpr int kTextFlags = Qt::AlignLeft | Qt::AlignTop | Qt::TextWordWrap;

struct ButtonChoice {
  MessageBoxResult answer;
  std::u16string_view english;
};

std::vector<ButtonChoice> ChoicesOf(MessageBoxButtons buttons) {
  switch (buttons) {
  case MessageBoxButtons::OkCancel:
    return {{MessageBoxResult::Ok, u"OK"}, {MessageBoxResult::Cancel, u"Cancel"}};
  case MessageBoxButtons::YesNo:
    return {{MessageBoxResult::Yes, kYesText}, {MessageBoxResult::No, kNoText}};
  case MessageBoxButtons::Ok:
    break;
  }
  return {{MessageBoxResult::Ok, u"OK"}};
}

QRect AvailableArea(QWidget *owner) {
  QScreen *screen = owner != nullptr ? owner->screen() : QGuiApplication::primaryScreen();
  return screen != nullptr ? screen->availableGeometry() : QRect(0, 0, 1024, 768);
}

} // namespace

CSkinMessageDialog::CSkinMessageDialog(const MessageBoxRequest &request, QWidget *owner)
    : CGdipDialog(owner), m_text(ToQString(request.text)), m_icon(request.icon),
      m_dismiss(DismissAnswer(request.buttons)), m_answer(m_dismiss) {
  InstallMessageDialogAccessibility();
  setWindowTitle(ToQString(request.caption));
  setWindowModality(owner != nullptr ? Qt::WindowModal : Qt::ApplicationModal);
  m_frame.LoadFromResource(skin::kLoginBackground);

  m_title = new CTransStatic(this);
  m_title->SetTextHeight(kTitleHeight);
  m_title->SetTextWeight(skin::kWeightBold);
  m_title->SetFormat(Qt::AlignLeft | Qt::AlignVCenter | Qt::TextSingleLine);
  m_title->SetText(windowTitle());

  m_close = new CGdipButton(ButtonKind::PushButton, this);
  SetDlgCtrlID(m_close, kCloseId);
  m_close->LoadImages(skin::kCloseNormal, skin::kCloseHover, skin::kClosePressed);
  m_close->SetToolTipText(ToQString(Translate(u"Close")));
  m_close->setAccessibleName(ToQString(Translate(u"Close")));
  // Escape does from the keyboard what the close button does.
  m_close->setFocusPolicy(Qt::NoFocus);
  connect(m_close, &QAbstractButton::clicked, this, &CSkinMessageDialog::reject);

  if (const int image = ImageOf(m_icon); image != 0) {
    m_iconPicture = new CGdipIconStatic(this);
    SetDlgCtrlID(m_iconPicture, kIconId);
    m_iconPicture->SetImage(image);
  }

  m_label = new CTransStatic(this);
  SetDlgCtrlID(m_label, kTextId);
  m_label->SetTextHeight(kTextHeight);
  m_label->SetFormat(kTextFlags);
  m_label->SetText(m_text);

  BuildButtons(request);
  LayOut(owner);
}

int CSkinMessageDialog::ImageOf(MessageBoxIcon icon) {
  switch (icon) {
  case MessageBoxIcon::Information:
    return skin::kMessageInformation;
  case MessageBoxIcon::Warning:
    return skin::kMessageWarning;
  case MessageBoxIcon::Error:
    return skin::kMessageError;
  case MessageBoxIcon::Question:
    return skin::kMessageQuestion;
  case MessageBoxIcon::None:
    break;
  }
  return 0;
}

void CSkinMessageDialog::BuildButtons(const MessageBoxRequest &request) {
  for (const ButtonChoice &choice : ChoicesOf(request.buttons)) {
    const QString text = ToQString(request.englishButtons ? std::u16string(choice.english)
                                                          : Translate(choice.english));
    CGdipButton *button = MakeTextButton(this, static_cast<int>(choice.answer), QRect(), text);
    const MessageBoxResult answer = choice.answer;
    connect(button, &QAbstractButton::clicked, this, [this, answer] { Give(answer); });
    if (!m_buttons.empty()) {
      setTabOrder(m_buttons.back(), button);
    }
    m_buttons.push_back(button);
  }
  SetDefaultButton(m_buttons.front());
}

void CSkinMessageDialog::LayOut(QWidget *owner) {
  const QRect area = AvailableArea(owner);
  const int textLeft = kMargin + (m_iconPicture != nullptr ? kIconSize + kIconGap : 0);

  // The buttons: the skin's face, wider where a label needs it.
  std::vector<int> buttonWidths;
  int buttonsWidth = 0;
  for (CGdipButton *button : m_buttons) {
    const int width = std::max(kButtonSize.width(),
                               QFontMetrics(button->font()).horizontalAdvance(button->text()) +
                                   kButtonTextPadding);
    buttonWidths.push_back(width);
    buttonsWidth += width + (buttonWidths.size() > 1 ? kButtonGap : 0);
  }

  // The text keeps its lines up to the widest column allowed, never wider
  // than the screen leaves, and wraps beyond it.
  const QFontMetrics metrics(m_label->font());
  const int screenText = std::max(kMinTextWidth, area.width() - textLeft - kMargin);
  const int widest = std::min(kMaxTextWidth, screenText);
  const int natural = metrics.size(Qt::AlignLeft | Qt::AlignTop, m_text).width();
  const int titleNeed = kTitleLeft +
                        QFontMetrics(m_title->font()).horizontalAdvance(windowTitle()) +
                        kCloseInset + kCloseSize.width() + kIconGap;
  int width = std::max({textLeft + std::clamp(natural, kMinTextWidth, widest) + kMargin,
                        buttonsWidth + 2 * kMargin, titleNeed});
  width = std::min(width, area.width());
  const int textWidth = width - textLeft - kMargin;
  const int textHeight =
      metrics.boundingRect(QRect(0, 0, textWidth, 1 << 20), kTextFlags, m_text).height();
  const int iconHeight = m_iconPicture != nullptr ? kIconSize : 0;
  const int content = std::max(textHeight, iconHeight);
  const int height = std::min(kTitleStrip + 2 * kBodyPadding + content + kFooter, area.height());
  setFixedSize(width, height);
  SetWindowOutline(RoundedOutline(size(), kCornerRadius));

  const int bodyTop = kTitleStrip + kBodyPadding;
  m_title->setGeometry(kTitleLeft, kTitleTop,
                       width - kTitleLeft - kCloseInset - kCloseSize.width() - kIconGap / 2,
                       kTitleLineHeight);
  m_close->setGeometry(
      QRect(QPoint(width - kCloseInset - kCloseSize.width(), kCloseTop), kCloseSize));
  if (m_iconPicture != nullptr) {
    m_iconPicture->setGeometry(kMargin, bodyTop, kIconSize, kIconSize);
  }
  // A text shorter than the icon stands beside its middle.
  const int textTop = bodyTop + (content - textHeight) / 2;
  m_label->setGeometry(textLeft, textTop, textWidth,
                       std::min(textHeight, height - kFooter - kBodyPadding - textTop));

  int left = (width - buttonsWidth) / 2;
  const int buttonTop = height - kFooter + (kFooter - kButtonSize.height()) / 2;
  for (std::size_t i = 0; i < m_buttons.size(); ++i) {
    m_buttons[i]->setGeometry(left, buttonTop, buttonWidths[i], kButtonSize.height());
    left += buttonWidths[i] + kButtonGap;
  }

  // Centred on the owner's window, else on the screen; inside the screen.
  // The owner's own area, not its frame: a window manager may not have told
  // the frame yet.
  const QRect over =
      owner != nullptr && owner->window()->isVisible() ? owner->window()->geometry() : area;
  QRect placed(QPoint(0, 0), size());
  placed.moveCenter(over.center());
  placed.moveLeft(std::clamp(placed.left(), area.left(), area.right() + 1 - width));
  placed.moveTop(std::clamp(placed.top(), area.top(), area.bottom() + 1 - height));
  move(placed.topLeft());
}

CGdipButton *CSkinMessageDialog::ButtonFor(MessageBoxResult answer) const {
  for (CGdipButton *button : m_buttons) {
    if (GetDlgCtrlID(button) == static_cast<int>(answer)) {
      return button;
    }
  }
  return nullptr;
}

void CSkinMessageDialog::Give(MessageBoxResult answer) {
  m_answer = answer;
  done(QDialog::Accepted);
}

void CSkinMessageDialog::reject() {
  m_answer = m_dismiss;
  CGdipDialog::reject();
}

MessageBoxResult CSkinMessageDialog::Run() {
  exec();
  return m_answer;
}

void CSkinMessageDialog::paintEvent(QPaintEvent *) {
  QPainter painter(this);
  qDrawBorderPixmap(&painter, rect(), kFrameSlices, m_frame.Pixmap());
}

void CSkinMessageDialog::showEvent(QShowEvent *event) {
  CGdipDialog::showEvent(event);
  m_buttons.front()->setFocus(Qt::ActiveWindowFocusReason);
  if (QAccessible::isActive()) {
    QAccessibleEvent alert(this, QAccessible::Alert);
    QAccessible::updateAccessibility(&alert);
  }
}

} // namespace corvesta
