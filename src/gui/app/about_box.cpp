#include "gui/app/about_box.h"

#include <QFrame>
#include <QMouseEvent>
#include <QPushButton>

#include "core/view/commands.h"
#include "gui/services/desktop_shell.h"
#include "gui/services/icons.h"

namespace qv70 {

NoticeLink::NoticeLink(const QString& text, QWidget* parent) : QLabel(text, parent) {
  setCursor(Qt::PointingHandCursor);
  QPalette palette = this->palette();
  palette.setColor(QPalette::WindowText, Qt::black);
  setPalette(palette);
}

void NoticeLink::mouseReleaseEvent(QMouseEvent* event) {
  if (event->button() == Qt::LeftButton && rect().contains(event->position().toPoint())) emit clicked();
  QLabel::mouseReleaseEvent(event);
}

CAboutDlg::CAboutDlg(DesktopShell& shell, QWidget* parent) : QDialog(parent), shell_(shell) {
  setWindowTitle("About");
  setWindowIcon(AboutIcon());
  QFont font("Arial");
  font.setPointSize(8);
  setFont(font);
  // 338 x 112 dialog units of an 8-point face.
  constexpr int kWidth = 507;
  constexpr int kHeight = 190;
  setFixedSize(kWidth, kHeight);

  auto* band = new QLabel(this);
  band->setObjectName("ProductBand");
  band->setGeometry(0, 0, kWidth, 67);
  band->setPixmap(DrawProductBand(QSize(kWidth, 67)));

  auto* title = new QLabel(kMainTitle, this);
  title->setGeometry(14, 74, kWidth - 28, 16);
  version_ = new QLabel(QString("Version:          ") + kVersionText, this);
  version_->setGeometry(14, 94, 240, 16);

  auto* notice = new QLabel("Manufacturer:", this);
  notice->setGeometry(14, 116, 90, 16);
  firstLink_ = new NoticeLink("Web page: www.zavel.example.com", this);
  firstLink_->setGeometry(108, 116, 280, 16);
  secondLink_ = new NoticeLink("For service, please contact your ZAVEL dealer.", this);
  secondLink_->setGeometry(108, 134, 300, 16);

  auto* line = new QFrame(this);
  line->setFrameShape(QFrame::HLine);
  line->setFrameShadow(QFrame::Sunken);
  line->setGeometry(8, 154, kWidth - 16, 4);

  ok_ = new QPushButton("OK", this);
  ok_->setDefault(true);
  ok_->setGeometry(kWidth - 90, 160, 78, 24);

  connect(ok_, &QPushButton::clicked, this, &QDialog::accept);
  connect(firstLink_, &NoticeLink::clicked, this, [this] { shell_.Open(kMakerPage); });
}

}  // namespace qv70
