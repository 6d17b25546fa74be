#include "platform/skin/skin_widget.h"

#include <QFile>
#include <QFontMetrics>
#include <QHelpEvent>
#include <QMouseEvent>
#include <QPaintEvent>
#include <QPainter>
#include <QPointer>
#include <QToolTip>

#include "platform/skin/skin_document.h"
#include "platform/skin/skin_painter.h"
#include "platform/skin/skin_parser.h"

// Elements ask the widget to redraw the part of the window they cover.
class TSkin::Canvas : public SkinCanvas {
 public:
  explicit Canvas(TSkin* skin) : skin_(skin) {}
  void Invalidate(const QRect& area) override { skin_->update(area); }

 private:
  TSkin* skin_;
};

struct TSkin::State {
  explicit State(TSkin* skin) : canvas(skin) {}
  Canvas canvas;
  std::unique_ptr<SkinDocument> document;
  SkinElement* form = nullptr;              // the form element being shown
  std::vector<SkinElement*> paintOrder;     // `form` and everything below it
  QPointer<QWidget> window;                 // the skinned window
  SkinElement* hover = nullptr;             // clickable element under the pointer
  SkinElement* pressed = nullptr;           // clickable element the button went down on
};

TSkin::TSkin(QWidget* parent) : QWidget(parent), state_(std::make_unique<State>(this)) {
  setMouseTracking(true);
  setAttribute(Qt::WA_OpaquePaintEvent);
}

TSkin::~TSkin() {
  if (state_->window) state_->window->removeEventFilter(this);
}

void TSkin::OpenSkinFile(const std::string& path) { Install(ReadSkinFile(path)); }

void TSkin::OpenSkinText(const std::string& text, const std::string& origin) {
  Install(ParseSkinText(text, origin));
}

std::string TSkin::BuiltInSkinText() {
  QFile file(":/tonvara/skin/mp3enc.dll");
  if (!file.open(QIODevice::ReadOnly)) return {};
  return file.readAll().toStdString();
}

// A new skin replaces the old one only once it has been read completely, so a
// broken file leaves the window as it was.
void TSkin::Install(std::unique_ptr<SkinDocument> document) {
  state_->document = std::move(document);
  state_->document->SetCanvas(&state_->canvas);
  state_->form = state_->document->FirstForm();
  state_->paintOrder = state_->document->InPaintOrder(state_->form);
  state_->hover = nullptr;
  state_->pressed = nullptr;
  unsetCursor();
  update();
}

void TSkin::SkinWindow(QWidget* window) {
  if (!window) throw SkinError("没有要换肤的窗口");
  if (state_->window && state_->window != window) state_->window->removeEventFilter(this);
  state_->window = window;
  if (parentWidget() != window) setParent(window);
  window->installEventFilter(this);
  setGeometry(window->rect());
  lower();  // behind the window's own widgets
  show();
}

void TSkin::SkinWindowAs(QWidget* window, std::string_view formElement) {
  if (!state_->document) throw SkinError("尚未加载皮肤文件");
  SkinElement* form = state_->document->FindForm(formElement);
  if (!form) throw SkinError("皮肤中没有名为 \"" + std::string(formElement) + "\" 的窗体");
  if (state_->window != window) SkinWindow(window);
  state_->form = form;
  state_->paintOrder = state_->document->InPaintOrder(form);
  state_->hover = nullptr;
  state_->pressed = nullptr;
  window->setFixedSize(form->Rect().size());
  setGeometry(window->rect());
  update();
}

ISkinObject* TSkin::GetWindowRoot(QWidget* window) {
  if (!state_->document) throw SkinError("尚未加载皮肤文件");
  if (!window || window != state_->window) throw SkinError("该窗口没有换肤");
  return state_->form;
}

QRect TSkin::ElementRect(std::string_view name) const {
  if (!state_->document) return {};
  const SkinElement* e = state_->document->Find(name);
  return e ? e->Rect() : QRect();
}

QColor TSkin::NamedColor(const std::string& name, const QColor& fallback) const {
  if (!state_->document) return fallback;
  return state_->document->NamedColor(name).value_or(fallback);
}

QFont TSkin::SkinFont(int pixelSize, int weight) const {
  static const QStringList defaults{"Noto Sans CJK SC", "WenQuanYi Zen Hei", "Sans"};
  return ::SkinFont(state_->document ? state_->document->FontFamilies() : defaults, pixelSize, weight);
}

SkinState TSkin::StateOf(const SkinElement* element) const {
  if (!element->Clickable()) return SkinState::Normal;
  if (state_->pressed) {
    // While held, only the pressed element reacts, and only under the pointer.
    return element == state_->pressed && element == state_->hover ? SkinState::Pressed : SkinState::Normal;
  }
  return element == state_->hover ? SkinState::Hover : SkinState::Normal;
}

void TSkin::paintEvent(QPaintEvent* event) {
  QPainter painter(this);
  painter.fillRect(event->rect(), palette().window());
  if (!state_->document || !state_->form) return;
  const QStringList& families = state_->document->FontFamilies();
  for (const SkinElement* e : state_->paintOrder) {
    if (e->PaintedArea().intersects(event->rect())) PaintSkinElement(painter, *e, StateOf(e), families);
  }
}

SkinElement* TSkin::ElementAt(const QPoint& pos) const {
  // The last element drawn is the one on top.
  for (auto it = state_->paintOrder.rbegin(); it != state_->paintOrder.rend(); ++it)
    if ((*it)->Clickable() && (*it)->Rect().contains(pos)) return *it;
  return nullptr;
}

void TSkin::SetHover(SkinElement* element) {
  if (element == state_->hover) return;
  if (state_->hover) update(state_->hover->PaintedArea());
  state_->hover = element;
  if (element) update(element->PaintedArea());
  if (element) setCursor(Qt::PointingHandCursor);
  else unsetCursor();
}

void TSkin::mouseMoveEvent(QMouseEvent* event) { SetHover(ElementAt(event->position().toPoint())); }

void TSkin::mousePressEvent(QMouseEvent* event) {
  if (event->button() != Qt::LeftButton) return;
  SkinElement* hit = ElementAt(event->position().toPoint());
  SetHover(hit);
  state_->pressed = hit;
  if (hit) update(hit->PaintedArea());
}

void TSkin::mouseReleaseEvent(QMouseEvent* event) {
  if (event->button() != Qt::LeftButton || !state_->pressed) return;
  SkinElement* pressed = state_->pressed;
  SkinElement* hit = ElementAt(event->position().toPoint());
  state_->pressed = nullptr;
  update(pressed->PaintedArea());
  SetHover(hit);
  // The handler may open a modal dialog or even another skin: nothing of
  // this widget's state is touched after the signal.
  if (hit == pressed) emit OnClick(pressed);
}

void TSkin::leaveEvent(QEvent*) {
  if (!state_->pressed) SetHover(nullptr);
}

bool TSkin::event(QEvent* event) {
  if (event->type() == QEvent::ToolTip) {
    auto* help = static_cast<QHelpEvent*>(event);
    const SkinElement* e = ElementAt(help->pos());
    if (e && !e->Tip().isEmpty()) QToolTip::showText(help->globalPos(), e->Tip(), this, e->Rect());
    else QToolTip::hideText();
    return true;
  }
  return QWidget::event(event);
}

// Follows the skinned window's size, so the skin always covers it.
bool TSkin::eventFilter(QObject* watched, QEvent* event) {
  if (watched == state_->window && event->type() == QEvent::Resize) setGeometry(state_->window->rect());
  return QWidget::eventFilter(watched, event);
}

namespace {
const QColor kLabelText(0x1F, 0x29, 0x37);
}

TSkinLabel::TSkinLabel(QWidget* parent) : QWidget(parent) {}

void TSkinLabel::SetCaption(const std::string& caption) {
  caption_ = QString::fromStdString(caption);
  UpdateTip();
  update();
}

std::string TSkinLabel::Caption() const { return caption_.toStdString(); }

// Colours and font come from the skin under the label when there is one.
const TSkin* TSkinLabel::Skin() const {
  return parentWidget() ? parentWidget()->findChild<TSkin*>(QString(), Qt::FindDirectChildrenOnly) : nullptr;
}

QFont TSkinLabel::LabelFont() const {
  const TSkin* skin = Skin();
  return skin ? skin->SkinFont(12) : ::SkinFont({"Noto Sans CJK SC", "WenQuanYi Zen Hei", "Sans"}, 12, 400);
}

// The whole text as a tip only when the label had to shorten it.
void TSkinLabel::UpdateTip() {
  const bool fits = QFontMetrics(LabelFont()).horizontalAdvance(caption_) <= width();
  setToolTip(fits ? QString() : caption_);
}

void TSkinLabel::resizeEvent(QResizeEvent*) { UpdateTip(); }

void TSkinLabel::paintEvent(QPaintEvent*) {
  const TSkin* skin = Skin();
  const QFont font = LabelFont();
  QPainter p(this);
  p.setRenderHint(QPainter::TextAntialiasing);
  p.setFont(font);
  p.setPen(skin ? skin->NamedColor("label", kLabelText) : kLabelText);
  const QString shown = QFontMetrics(font).elidedText(caption_, Qt::ElideMiddle, width());
  p.drawText(rect(), Qt::AlignVCenter | Qt::AlignLeft | Qt::TextSingleLine, shown);
}
