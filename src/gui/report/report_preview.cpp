#include "gui/report/report_preview.h"

#include <QHBoxLayout>
#include <QPrintPreviewWidget>
#include <QPrinter>
#include <QPushButton>
#include <QKeyEvent>
#include <QVBoxLayout>

namespace qv70 {
namespace {

// The tool bar's buttons are 44 x 12 dialog units: about 66 x 20 pixels at
// the dialog font.
constexpr int kButtonWidth = 66;
constexpr int kButtonHeight = 20;

}  // namespace

CMyPreviewView::CMyPreviewView(std::unique_ptr<QPrinter> printer, int pageCount, PagePainter paint, QWidget* parent)
    : QWidget(parent), printer_(std::move(printer)), pageCount_(pageCount) {
  setObjectName("PreviewView");
  buttonRow_ = new QWidget(this);
  buttonRow_->setObjectName("PreviewToolBar");
  auto* row = new QHBoxLayout(buttonRow_);
  row->setContentsMargins(4, 2, 4, 2);
  row->setSpacing(4);

  pages_ = new QPrintPreviewWidget(printer_.get(), this);
  pages_->setViewMode(QPrintPreviewWidget::SinglePageView);
  pages_->setZoomMode(QPrintPreviewWidget::FitInView);
  connect(pages_, &QPrintPreviewWidget::paintRequested, this, [paint](QPrinter* target) { paint(*target); });
  connect(pages_, &QPrintPreviewWidget::previewChanged, this, [this] {
    UpdateButtons();
    emit statusChanged(StatusText());
  });

  AddButton("&Print...", [this] { emit printRequested(); });
  AddButton("Page &Up", [this] { ShowPage(CurrentPage() - 1); });
  AddButton("Page &Down", [this] { ShowPage(CurrentPage() + 1); });
  AddButton("Zoom &In", [this] { pages_->zoomIn(); });
  AddButton("Zoom &Out", [this] {
    pages_->zoomOut();
    // Never smaller than the whole page.
    if (pages_->zoomFactor() < 0.1) pages_->setZoomMode(QPrintPreviewWidget::FitInView);
  });
  AddButton("&Close", [this] { emit closeRequested(); });
  row->addStretch(1);

  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->setSpacing(0);
  layout->addWidget(buttonRow_);
  layout->addWidget(pages_, 1);

  // The keys reach the pages first, which would scroll with them.
  pages_->installEventFilter(this);
  for (QWidget* child : pages_->findChildren<QWidget*>()) child->installEventFilter(this);
  setFocusPolicy(Qt::StrongFocus);
  setFocusProxy(pages_);
  UpdateButtons();
}

// The pages widget goes first: it paints through the printer.
CMyPreviewView::~CMyPreviewView() { delete pages_; }

bool CMyPreviewView::HandleKey(int key) {
  switch (key) {
    case Qt::Key_PageDown: ShowPage(CurrentPage() + 1); return true;
    case Qt::Key_PageUp: ShowPage(CurrentPage() - 1); return true;
    case Qt::Key_Escape: emit closeRequested(); return true;
    default: return false;
  }
}

bool CMyPreviewView::eventFilter(QObject* watched, QEvent* event) {
  if (event->type() == QEvent::KeyPress && HandleKey(static_cast<QKeyEvent*>(event)->key())) return true;
  return QWidget::eventFilter(watched, event);
}

void CMyPreviewView::keyPressEvent(QKeyEvent* event) {
  if (!HandleKey(event->key())) QWidget::keyPressEvent(event);
}

QPushButton* CMyPreviewView::AddButton(const char* caption, const std::function<void()>& action) {
  auto* button = new QPushButton(caption, buttonRow_);
  button->setFixedSize(kButtonWidth, kButtonHeight);
  button->setFocusPolicy(Qt::NoFocus);
  buttonRow_->layout()->addWidget(button);
  connect(button, &QPushButton::clicked, this, action);
  return button;
}

QPushButton* CMyPreviewView::Button(const char* caption) const {
  for (QPushButton* button : buttonRow_->findChildren<QPushButton*>())
    if (button->text() == caption) return button;
  return nullptr;
}

int CMyPreviewView::CurrentPage() const { return pageCount_ > 0 ? pages_->currentPage() : 0; }

void CMyPreviewView::ShowPage(int page) {
  if (page < 1 || page > pageCount_) return;
  pages_->setCurrentPage(page);
  UpdateButtons();
  emit statusChanged(StatusText());
}

QString CMyPreviewView::StatusText() const {
  return QString("Print: Page %1  Total Page Number %2").arg(CurrentPage()).arg(pageCount_);
}

void CMyPreviewView::UpdateButtons() {
  Button("Page &Up")->setEnabled(CurrentPage() > 1);
  Button("Page &Down")->setEnabled(CurrentPage() < pageCount_);
}

}  // namespace qv70
