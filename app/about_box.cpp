#include "app/about_box.h"

#include <QFrame>
#include <QLabel>

#include "app/menu_icons.h"
#include "platform/chinese_font.h"
#include "platform/dialogs.h"

Tfm_about::Tfm_about(QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                          Qt::WindowMinimizeButtonHint | Qt::WindowCloseButtonHint) {
  setObjectName(QStringLiteral("fm_about"));
  setWindowTitle(QStringLiteral("关于 Tonvara"));
  setFont(ChineseFont(9));
  setFixedSize(294, 277);
  setModal(false);

  auto* frame = new QFrame(this);
  frame->setFrameShape(QFrame::StyledPanel);
  frame->setGeometry(8, 8, 278, 261);

  auto* icon = new QLabel(frame);
  icon->setObjectName(QStringLiteral("icon"));
  icon->setPixmap(MakeAppIcon(32));
  icon->setGeometry(14, 14, 32, 32);

  auto* name = new QLabel(QStringLiteral("Tonvara"), frame);
  name->setObjectName(QStringLiteral("ProductName"));
  QFont bold = ChineseFontPx(14);
  bold.setBold(true);
  name->setFont(bold);
  name->setGeometry(58, 14, 200, 20);

  auto* version = new QLabel(QStringLiteral("版本: 3.00"), frame);
  version->setObjectName(QStringLiteral("Version"));
  version->setGeometry(58, 36, 200, 18);

  auto* description = new QLabel(QStringLiteral("在 MP3 WAV WMA 和 OGG之间直接转换."), frame);
  description->setObjectName(QStringLiteral("Comments"));
  description->setWordWrap(true);
  description->setGeometry(14, 70, 250, 40);

  auto* line = new QFrame(frame);
  line->setFrameShape(QFrame::HLine);
  line->setFrameShadow(QFrame::Sunken);
  line->setGeometry(14, 118, 250, 2);

  auto* homeLabel = new QLabel(QStringLiteral("主页:  "), frame);
  homeLabel->setGeometry(14, 134, 60, 18);
  AddLink(QString::fromLatin1(HomePage), HomePage, 74, 134);

  auto* mailLabel = new QLabel(QStringLiteral("E-mail:  "), frame);
  mailLabel->setGeometry(14, 164, 60, 18);
  AddLink(QString::fromLatin1(SalesMail), std::string("mailto:") + SalesMail, 74, 164);
  AddLink(QString::fromLatin1(SupportMail), std::string("mailto:") + SupportMail, 74, 186);
}

QLabel* Tfm_about::AddLink(const QString& text, const std::string& target, int x, int y) {
  auto* link = new QLabel(findChild<QFrame*>());
  link->setText(QStringLiteral("<a href=\"%1\" style=\"color:#1a56db;\">%2</a>")
                    .arg(QString::fromStdString(target).toHtmlEscaped(), text.toHtmlEscaped()));
  link->setTextFormat(Qt::RichText);
  link->setTextInteractionFlags(Qt::LinksAccessibleByMouse | Qt::LinksAccessibleByKeyboard);
  link->setOpenExternalLinks(false);
  link->setCursor(Qt::PointingHandCursor);
  link->setGeometry(x, y, 196, 18);
  link->setToolTip(QString::fromStdString(target));
  connect(link, &QLabel::linkActivated, this, [this](const QString& url) { LinkClick(url.toStdString()); });
  return link;
}

void Tfm_about::LinkClick(const std::string& target) { dialogs::OpenWithDesktop(target); }
