#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QFontMetrics>
#include <QImage>
#include <QTest>
#include <string>
#include <vector>

#include "platform/skin/skin_element.h"
#include "platform/skin/skin_painter.h"
#include "platform/skin/skin_parser.h"
#include "platform/skin/skin_widget.h"
#include "tests/support/temp_dir.h"

namespace {

const std::vector<std::string> kCommandNames = {
    "b_Add", "b_remove", "b_clear", "b_convert", "b_nomalize", "b_stop", "p_play", "p_stop",
    "b_dir", "b_open", "b_id3", "file", "action", "setting", "help", "helpp"};

// A 609 x 380 window skinned with the shipped skin, as the main window does it.
class DefaultSkin : public ::testing::Test {
 protected:
  void SetUp() override {
    skin = new TSkin(&window);
    skin->OpenSkinFile(TONVARA_DEFAULT_SKIN_FILE);
    skin->SkinWindow(&window);
    skin->SkinWindowAs(&window, "Form");
    window.show();
    root = skin->GetWindowRoot(&window);
  }

  void RecordClicks() {
    QObject::connect(skin, &TSkin::OnClick, skin,
                     [this](ISkinObject* source) { clicked.push_back(source->ReadName()); });
  }

  QPoint Centre(const std::string& name) const { return skin->ElementRect(name).center(); }

  QWidget window;
  TSkin* skin = nullptr;
  ISkinObject* root = nullptr;
  std::vector<std::string> clicked;
};

TEST_F(DefaultSkin, HoldsEveryElementTheProgramUsesWithinTheWindow) {
  EXPECT_EQ(window.size(), QSize(609, 380));
  EXPECT_EQ(skin->geometry(), QRect(0, 0, 609, 380));
  std::vector<std::string> names = kCommandNames;
  names.insert(names.end(), {"Form", "pb", "pbpos"});
  for (const std::string& name : names) {
    SCOPED_TRACE(name);
    ISkinObject* element = root->FindChild(name);
    ASSERT_NE(element, nullptr);
    EXPECT_EQ(element->ReadName(), name);
    auto* placement = QueryInterface<ISkinElementPlacement>(element);
    ASSERT_NE(placement, nullptr);
    const SkinRect r = placement->GetPlacement();
    EXPECT_GE(r.Left, 0);
    EXPECT_GE(r.Top, 0);
    EXPECT_LE(r.Right, 609);
    EXPECT_LE(r.Bottom, 380);
    EXPECT_GE(r.Right - r.Left, 12);
    EXPECT_GE(r.Bottom - r.Top, 12);
  }
  EXPECT_NE(QueryInterface<ISkinElementText>(root->FindChild("pbpos")), nullptr);
  EXPECT_EQ(root->FindChild("b_add"), nullptr) << "names are case-sensitive";
  EXPECT_EQ(root->FindChild("nothing"), nullptr);
}

TEST_F(DefaultSkin, LeavesThePlacesOfTheWindowsOwnWidgetsAndTheMenuPositions) {
  // The list, the folder label and the format selector lie over the skin.
  const QRect owned[] = {{12, 100, 446, 201}, {90, 76, 242, 14}, {393, 49, 61, 20}};
  for (const std::string& name : kCommandNames)
    for (const QRect& place : owned) EXPECT_FALSE(skin->ElementRect(name).intersects(place)) << name;

  // The progress bar fills 442 pixels from its left edge, under the list.
  const QRect bar = skin->ElementRect("pb");
  EXPECT_EQ(bar.width(), 442);
  EXPECT_EQ(bar.left(), 14);
  EXPECT_GT(bar.top(), 301);

  // Pop-up menus open at fixed offsets below "file", "action" and "help".
  const std::pair<std::string, int> menus[] = {{"file", 10}, {"action", 50}, {"help", 230}};
  for (const auto& [name, x] : menus) {
    const QRect r = skin->ElementRect(name);
    EXPECT_NEAR(r.left(), x, 4) << name;
    EXPECT_LE(r.bottom() + 1, 44) << name;
  }
}

// Every caption of the shipped skin fits its element in the skin's font.
TEST(DefaultSkinText, EveryCaptionFitsItsElement) {
  const auto doc = ReadSkinFile(TONVARA_DEFAULT_SKIN_FILE);
  for (const auto& e : doc->Elements()) {
    if (e->Caption().isEmpty()) continue;
    const SkinLook& look = e->Look();
    const QFontMetrics metrics(SkinFont(doc->FontFamilies(), look.fontSize, look.fontWeight));
    const int room = e->Rect().width() - look.padLeft - look.padRight;
    EXPECT_LE(metrics.horizontalAdvance(e->Caption()), room) << e->Name();
    EXPECT_LE(metrics.height(), e->Rect().height() + 2) << e->Name();
  }
}

TEST(DefaultSkinText, ShippedFileBuiltInCopyAndProgramFolderCopyAreIdentical) {
  const std::string shipped = ReadFileBytes(TONVARA_DEFAULT_SKIN_FILE);
  ASSERT_FALSE(shipped.empty());
  EXPECT_EQ(TSkin::BuiltInSkinText(), shipped);
  const std::string beside = QCoreApplication::applicationDirPath().toStdString() + "/mp3enc.dll";
  EXPECT_EQ(ReadFileBytes(beside), shipped);
  QWidget window;
  TSkin skin(&window);
  skin.OpenSkinText(TSkin::BuiltInSkinText(), "built-in skin");
  skin.SkinWindowAs(&window, "Form");
  EXPECT_NE(skin.GetWindowRoot(&window)->FindChild("pb"), nullptr);
}

TEST_F(DefaultSkin, AClickRaisesOnClickWithTheElement) {
  RecordClicks();
  for (const std::string& name : kCommandNames) QTest::mouseClick(skin, Qt::LeftButton, {}, Centre(name));
  EXPECT_EQ(clicked, kCommandNames);

  clicked.clear();
  QTest::mouseClick(skin, Qt::LeftButton, {}, Centre("pb"));      // not clickable
  QTest::mouseClick(skin, Qt::LeftButton, {}, QPoint(300, 10));   // the banner
  QTest::mouseClick(skin, Qt::RightButton, {}, Centre("b_Add"));  // not the main button
  QTest::mousePress(skin, Qt::LeftButton, {}, Centre("b_Add"));
  QTest::mouseRelease(skin, Qt::LeftButton, {}, Centre("b_remove"));
  EXPECT_TRUE(clicked.empty());
}

TEST_F(DefaultSkin, ProgressBarAndPercentageChangeAndShow) {
  ISkinObject* pbObject = root->FindChild("pb");
  auto* pb = QueryInterface<ISkinElementPlacement>(pbObject);
  auto* pbpos = QueryInterface<ISkinElementText>(root->FindChild("pbpos"));
  const SkinRect full = pb->GetPlacement();

  SkinRect part = full;
  part.Right = part.Left + 177;  // 40 %
  pb->SetPlacement(part);
  pb->Repaint();
  pbpos->AssignText("40%");
  EXPECT_EQ(pb->GetPlacement(), part);
  EXPECT_EQ(dynamic_cast<SkinElement*>(root->FindChild("pbpos"))->Caption(), "40%");

  const int y = (full.Top + full.Bottom) / 2;
  auto pixel = [&](int x) { return window.grab().toImage().pixelColor(x, y); };
  const QColor filled = pixel(full.Left + 60);
  const QColor empty = pixel(full.Left + 300);
  EXPECT_GT(filled.blue(), filled.red() + 60) << "the filled part shows the accent colour";
  EXPECT_LT(std::abs(empty.red() - empty.blue()), 40) << "the rest shows the grey track";

  part.Right = part.Left;  // at rest: an empty bar, no text
  pb->SetPlacement(part);
  pb->Repaint();
  pbpos->AssignText("");
  const QColor rest = pixel(full.Left + 60);
  EXPECT_LT(std::abs(rest.red() - rest.blue()), 40);
  EXPECT_EQ(pb->GetPlacement(), part);
}

TEST(SkinErrors, UnreadableOrBrokenFilesNameTheFileAndLine) {
  TempDir dir;
  const std::string header = "tonvara-skin 1\n";
  const std::string form = "form Form {\n  rect 0 0 100 100\n";
  struct Case {
    const char* what;
    std::string text;  // nothing written when empty
    std::string expected;
  };
  const std::vector<Case> cases = {
      {"missing", "", "无法读取"},
      {"folder", "", "文件夹"},
      {"garbage", std::string("\x7f" "ELF\x02\x01\x01\0\0\xff\xfe", 12), ""},
      {"unknown kind", header + form + "  buton b {\n    rect 0 0 1 1\n  }\n}\n", "第 4 行"},
      {"bad number", header + form + "  panel p {\n    rect 0 0 1x 1\n  }\n}\n", "第 5 行"},
      {"duplicate name", header + form + "  panel Form {\n    rect 0 0 1 1\n  }\n}\n", "第 4 行"},
      {"unclosed block", header + form, "第 2 行"},
      {"no header", form + "}\n", "第 1 行"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    const std::string path = (dir / (std::string(c.what) + ".dll")).string();
    if (c.what == std::string("folder")) std::filesystem::create_directory(path);
    if (!c.text.empty()) WriteFileBytes(path, c.text);
    TSkin skin;
    try {
      skin.OpenSkinFile(path);
      ADD_FAILURE() << "no error";
    } catch (const SkinError& e) {
      const std::string message = e.what();
      EXPECT_NE(message.find(path), std::string::npos) << message;
      EXPECT_NE(message.find(c.expected), std::string::npos) << message;
    }
  }
}

TEST_F(DefaultSkin, AFailedOpenKeepsTheSkinAndAnUnknownFormIsRefused) {
  ISkinObject* pb = root->FindChild("pb");
  EXPECT_THROW(skin->OpenSkinFile("/nonexistent/mp3enc.dll"), SkinError);
  EXPECT_EQ(skin->GetWindowRoot(&window)->FindChild("pb"), pb);
  EXPECT_THROW(skin->SkinWindowAs(&window, "form"), SkinError);
  EXPECT_EQ(window.size(), QSize(609, 380));
}

}  // namespace
