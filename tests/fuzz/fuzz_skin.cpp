// The skin file reader on any bytes. A text the reader refuses must leave the
// skin widget as it was; a skin it accepts is put on a window, every form in
// turn, its elements found, given a text and placed through the interfaces
// the program uses, clicked, and painted.
#include <QApplication>
#include <QImage>
#include <QMouseEvent>
#include <QWidget>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>

#include "platform/skin/skin_document.h"
#include "platform/skin/skin_parser.h"
#include "platform/skin/skin_widget.h"
#include "tests/fuzz/fuzz_support.h"

namespace {

constexpr const char* kOrigin = "fuzz input";

void Click(TSkin& skin, const QPoint& at) {
  const QPointF local(at);
  const QPointF global = skin.mapToGlobal(local);
  QMouseEvent move(QEvent::MouseMove, local, global, Qt::NoButton, Qt::NoButton, Qt::NoModifier);
  QMouseEvent press(QEvent::MouseButtonPress, local, global, Qt::LeftButton, Qt::LeftButton, Qt::NoModifier);
  QMouseEvent release(QEvent::MouseButtonRelease, local, global, Qt::LeftButton, Qt::NoButton, Qt::NoModifier);
  QCoreApplication::sendEvent(&skin, &move);
  QCoreApplication::sendEvent(&skin, &press);
  QCoreApplication::sendEvent(&skin, &release);
}

// Everything below the form as the program drives it, then a paint of the
// window's top-left corner. `document` is the reader's own parse of the same
// text, for the names and the rectangles.
void Exercise(TSkin& skin, QWidget& window, const SkinDocument& document, const SkinElement& form) {
  skin.SkinWindowAs(&window, form.Name());
  ISkinObject* root = skin.GetWindowRoot(&window);
  if (!root || root->ReadName() != form.Name()) fuzz::Fail("the window root is not the form it was skinned as");
  for (const SkinElement* e : document.InPaintOrder(&form)) {
    ISkinObject* found = root->FindChild(e->Name());
    if (!found || found->ReadName() != e->Name()) fuzz::Fail("element " + e->Name() + " is not found under its form");
    if (auto* text = QueryInterface<ISkinElementText>(found)) text->AssignText("文本 text");
    if (auto* placement = QueryInterface<ISkinElementPlacement>(found)) {
      SkinRect r = placement->GetPlacement();
      r.Right = r.Left + (r.Right - r.Left) / 2;  // a bar at half
      placement->SetPlacement(r);
      placement->Repaint();
    }
    if (e->Clickable()) Click(skin, e->Rect().center());
  }
  QImage image(160, 100, QImage::Format_ARGB32_Premultiplied);
  image.fill(Qt::white);
  skin.render(&image, QPoint(), QRegion(0, 0, image.width(), image.height()));
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  fuzz::QtApplication<QApplication>();
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string text(reinterpret_cast<const char*>(data), size);
  std::unique_ptr<SkinDocument> document;
  try {
    document = ParseSkinText(text, kOrigin);
  } catch (const SkinError&) {
    // Refused: a widget showing the built-in skin must keep it.
    static TSkin* const keeper = [] {
      auto* skin = new TSkin();  // lives as long as the application
      skin->OpenSkinText(TSkin::BuiltInSkinText(), "built-in");
      return skin;
    }();
    const QRect before = keeper->ElementRect("Form");
    try {
      keeper->OpenSkinText(text, kOrigin);
      fuzz::Fail("the widget took a skin the reader refused");
    } catch (const SkinError&) {
    }
    if (keeper->ElementRect("Form") != before) fuzz::Fail("a refused skin changed the widget's skin");
    return 0;
  }

  QWidget window;
  TSkin skin;
  skin.OpenSkinText(text, kOrigin);
  skin.SkinWindow(&window);
  for (const auto& e : document->Elements()) {
    if (e->Kind() == SkinKind::Form) Exercise(skin, window, *document, *e);
  }
  return 0;
}
