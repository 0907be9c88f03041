#pragma once

#include <QWidget>
#include <functional>
#include <memory>

class QPrinter;
class QPrintPreviewWidget;
class QPushButton;

namespace qv70 {

// The print preview shown in the main window in place of the main view: a
// row of buttons ("&Print...", "Page &Up", "Page &Down", "Zoom &In",
// "Zoom &Out", "&Close") over the pages, one at a time. Page Down, Page Up
// and Esc move and close as the buttons do.
//
// The pages are painted by `paint` onto the preview's printer whenever the
// preview lays them out again; nothing is kept between paints.
class CMyPreviewView : public QWidget {
  Q_OBJECT

 public:
  using PagePainter = std::function<void(QPrinter& printer)>;

  // `printer` is set up for the report's paper; the preview keeps it.
  CMyPreviewView(std::unique_ptr<QPrinter> printer, int pageCount, PagePainter paint, QWidget* parent = nullptr);
  ~CMyPreviewView() override;

  // The page in front, from 1; 0 while there is none.
  int CurrentPage() const;
  int PageCount() const { return pageCount_; }
  void ShowPage(int page);
  // "Print: Page %u  Total Page Number %u" for the page in front.
  QString StatusText() const;

  QPushButton* Button(const char* caption) const;
  QPrintPreviewWidget* Pages() const { return pages_; }

 signals:
  void printRequested();
  void closeRequested();
  // The page in front or the zoom changed: the status line follows.
  void statusChanged(const QString& text);

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;

 private:
  // Page Down, Page Up and Esc; false for every other key.
  bool HandleKey(int key);
  QPushButton* AddButton(const char* caption, const std::function<void()>& action);
  void UpdateButtons();

  std::unique_ptr<QPrinter> printer_;
  QPrintPreviewWidget* pages_ = nullptr;
  int pageCount_ = 0;
  QWidget* buttonRow_ = nullptr;
};

}  // namespace qv70
