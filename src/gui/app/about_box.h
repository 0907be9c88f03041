#pragma once

#include <QDialog>
#include <QLabel>

class QPushButton;

namespace qv70 {

class DesktopShell;

// A notice line of the About box that behaves as a link: hand pointer, click
// reported, text drawn black whether or not the pointer is over it.
class NoticeLink : public QLabel {
  Q_OBJECT

 public:
  explicit NoticeLink(const QString& text, QWidget* parent = nullptr);

 signals:
  void clicked();

 protected:
  void mouseReleaseEvent(QMouseEvent* event) override;
};

// The About box: product band, title line, version, notice and two link lines,
// an etched line and OK. The first link opens the maker's web page.
class CAboutDlg : public QDialog {
  Q_OBJECT

 public:
  static constexpr const char* kMakerPage = "https://www.zavel.example.com/";

  explicit CAboutDlg(DesktopShell& shell, QWidget* parent = nullptr);

  NoticeLink* FirstLink() const { return firstLink_; }
  NoticeLink* SecondLink() const { return secondLink_; }
  QLabel* VersionLabel() const { return version_; }
  QPushButton* OkButton() const { return ok_; }

 private:
  DesktopShell& shell_;
  QLabel* version_ = nullptr;
  NoticeLink* firstLink_ = nullptr;
  NoticeLink* secondLink_ = nullptr;
  QPushButton* ok_ = nullptr;
};

}  // namespace qv70
