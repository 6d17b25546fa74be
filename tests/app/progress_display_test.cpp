#include "app/progress_display.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "app/mul_div.h"

namespace {

// A skin element that records what the display does to it.
class FakeElement : public ISkinObject, public ISkinElementText, public ISkinElementPlacement {
 public:
  FakeElement(std::string name, std::vector<std::string>& log, SkinRect rect = {})
      : name_(std::move(name)), log_(log), rect_(rect) {}
  ISkinObject* FindChild(std::string_view) override { return nullptr; }
  std::string ReadName() const override { return name_; }
  void AssignText(const std::string& text) override {
    text_ = text;
    log_.push_back(name_ + " text '" + text + "'");
  }
  SkinRect GetPlacement() const override { return rect_; }
  void SetPlacement(const SkinRect& rect) override {
    rect_ = rect;
    log_.push_back(name_ + " place " + std::to_string(rect.Right));
  }
  void Repaint() override { log_.push_back(name_ + " repaint"); }

  std::string text_;

 private:
  std::string name_;
  std::vector<std::string>& log_;

 public:
  SkinRect rect_;
};

TEST(MulDiv, RoundsHalvesAwayFromZero) {
  EXPECT_EQ(MulDiv(2500, 442, 10000), 111);  // 110.5
  EXPECT_EQ(MulDiv(-2500, 442, 10000), -111);
  EXPECT_EQ(MulDiv(99, 442, 10000), 4);  // 4.3758
  EXPECT_EQ(MulDiv(2000000000, 3, 4), 1500000000);  // the product does not fit 32 bits
  EXPECT_EQ(MulDiv(1, 1, 0), -1);
}

TEST(ProgressDisplay, BarAndPercentageFollowTheValue) {
  struct Case {
    bool busy;
    int32_t value;
    int32_t barLength;
    const char* text;
  };
  const Case cases[] = {
      {false, 7000, 0, "0%"},     {true, 10000, 442, "100%"}, {true, 12000, 442, "100%"},
      {true, 5000, 221, "50%"},   {true, 2500, 111, "25%"},   {true, 9999, 442, "99%"},
      {true, 99, 4, "0%"},        {true, 0, 0, "0%"},         {true, -30, 0, "0%"},
  };
  for (const Case& c : cases) {
    std::vector<std::string> log;
    FakeElement pbpos("pbpos", log), pb("pb", log, {14, 306, 200, 318});
    ProgressDisplay display;
    display.Attach(&pbpos, &pb);
    display.ShowProgress(c.value, c.busy);
    EXPECT_EQ(pb.rect_, (SkinRect{14, 306, 14 + c.barLength, 318})) << c.value;
    EXPECT_EQ(pbpos.text_, c.text) << c.value;
    EXPECT_EQ(log, (std::vector<std::string>{"pb place " + std::to_string(14 + c.barLength), "pb repaint",
                                             std::string("pbpos text '") + c.text + "'", "pbpos repaint"}));
  }
}

TEST(ProgressDisplay, ResetAfterARunEmptiesTheBarWhileBusyThenBlanksTheText) {
  std::vector<std::string> log;
  FakeElement pbpos("pbpos", log), pb("pb", log, {14, 306, 14, 318});
  ProgressDisplay display;
  display.Attach(&pbpos, &pb);
  bool busy = true;
  display.ShowProgress(6000, busy);
  log.clear();
  display.ResetAfterRun(busy);
  EXPECT_FALSE(busy);
  EXPECT_EQ(log, (std::vector<std::string>{"pb place 14", "pb repaint", "pbpos text '0%'", "pbpos repaint",
                                           "pbpos text ''", "pbpos repaint"}));
}

TEST(ProgressDisplay, MissingElementsAreSkipped) {
  ProgressDisplay display;
  display.Attach(nullptr, nullptr);
  display.ShowProgress(5000, true);
  bool busy = true;
  display.ResetAfterRun(busy);
  EXPECT_FALSE(busy);
  EXPECT_EQ(display.BarRect().Right, 0);
}

}  // namespace
