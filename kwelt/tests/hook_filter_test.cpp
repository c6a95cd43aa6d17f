#include <gtest/gtest.h>

#include <algorithm>
#include <barrier>
#include <optional>
#include <thread>
#include <vector>

#include "kwelt.h"

using namespace kwelt;
namespace wm = platform::winmsg;

namespace {

constexpr LParam kSpaceDown = 0x00390001;
constexpr LParam kSpaceUp = static_cast<LParam>(0xC0390001u);
constexpr LParam kKeyA = 0x001E0001;
const LParam kCursor = wm::pointLParam(123, 45);

// A handler window in the shared layer that keeps what reaches it.
class FilterTest : public ::testing::Test {
 protected:
  void SetUp() override {
    wm::pumpMessages();
    sink_ = wm::createWindow([this](const wm::Message& m) {
      received_.push_back(m);
      return 0;
    });
    SetMessageHandler(sink_);
    SetFilterMessage(0);
  }
  void TearDown() override {
    SetFilterMessage(0);
    SetMessageHandler(wm::kNoWindow);
    wm::destroyWindow(sink_);
  }
  std::vector<wm::Message> pumped() {
    received_.clear();
    wm::pumpMessages();
    return received_;
  }

  wm::WindowHandle sink_ = 0;
  std::vector<wm::Message> received_;
};

using Procedure = LResult (*)(std::int32_t, WParam, LParam);

}  // namespace

TEST_F(FilterTest, DecisionTable) {
  const struct {
    const char* what;
    Procedure procedure;
    std::uint8_t flag;
    std::int32_t code;
    WParam wParam;
    LParam lParam;
    LResult result;
    std::optional<MessageId> posted;
    std::uint8_t flagAfter;
  } cases[] = {
      // Filter off: everything passes, nothing is posted.
      {"msg off", MessageProc, 0, 6, 0, 0, 0, {}, 0},
      {"cbt off", CBTProc, 0, 9, 0, 0, 0, {}, 0},
      {"cbt syscommand off", CBTProc, 0, 8, 0xF150, 0, 0, {}, 0},
      {"key off", KeyboardProc, 0, 0, 0x20, kSpaceDown, 0, {}, 0},
      {"mouse off", MouseProc, 0, 0, 0x201, kCursor, 0, {}, 0},
      // Negative codes pass, also while filtering.
      {"msg negative", MessageProc, 1, -1, 0, 0, 0, {}, 1},
      {"cbt negative", CBTProc, 1, -1, 0xF150, 0, 0, {}, 1},
      {"key negative", KeyboardProc, 1, -1, 0x20, kSpaceDown, 0, {}, 1},
      {"mouse negative", MouseProc, 1, -2, 0x201, kCursor, 0, {}, 1},
      // Events only looked at pass.
      {"key noremove", KeyboardProc, 1, 3, 0x20, kSpaceDown, 0, {}, 1},
      {"mouse noremove", MouseProc, 1, 3, 0x201, kCursor, 0, {}, 1},
      // Message filter: only switching to the next window is blocked.
      {"msg next window", MessageProc, 1, 6, 0, 0, 1, {}, 1},
      {"msg dialog", MessageProc, 1, 0, 0, 0, 0, {}, 1},
      {"msg menu", MessageProc, 1, 2, 0, 0, 0, {}, 1},
      {"msg scroll bar", MessageProc, 1, 5, 0, 0, 0, {}, 1},
      // Task switching and focus changes are blocked.
      {"cbt hotkey", CBTProc, 1, 8, 0xF150, 0, 1, {}, 1},
      {"cbt hotkey low bits", CBTProc, 1, 8, 0xF152, 0, 1, {}, 1},
      {"cbt next window", CBTProc, 1, 8, 0xF040, 0, 1, {}, 1},
      {"cbt prev window", CBTProc, 1, 8, 0xF050, 0, 1, {}, 1},
      {"cbt task list", CBTProc, 1, 8, 0xF13F, 0, 1, {}, 1},
      {"cbt close", CBTProc, 1, 8, 0xF060, 0, 0, {}, 1},
      {"cbt key menu", CBTProc, 1, 8, 0xF100, 0, 0, {}, 1},
      {"cbt activate", CBTProc, 1, 5, 0, 0, 0, {}, 1},
      {"cbt set focus", CBTProc, 1, 9, 0, 0, 1, {}, 1},
      // Keys: all swallowed; only Space going down posts and ends filtering.
      {"key A", KeyboardProc, 1, 0, 'A', kKeyA, 1, {}, 1},
      {"key space down", KeyboardProc, 1, 0, 0x20, kSpaceDown, 1, WM_FILTER_SPACE, 0},
      {"key space up", KeyboardProc, 1, 0, 0x20, kSpaceUp, 1, {}, 1},
      {"key space, flag 2", KeyboardProc, 2, 0, 0x20, kSpaceDown, 1, WM_FILTER_SPACE, 0},
      // Mouse: movement passes, presses are reported, the rest is swallowed.
      {"mouse move", MouseProc, 1, 0, 0x200, kCursor, 0, {}, 1},
      {"mouse left down", MouseProc, 1, 0, 0x201, kCursor, 1, WM_FILTER_LBUTTONDOWN, 1},
      {"mouse right down", MouseProc, 1, 0, 0x204, kCursor, 1, WM_FILTER_RBUTTONDOWN, 1},
      {"mouse left up", MouseProc, 1, 0, 0x202, kCursor, 1, {}, 1},
      {"mouse double click", MouseProc, 1, 0, 0x203, kCursor, 1, {}, 1},
      {"mouse middle down", MouseProc, 1, 0, 0x207, kCursor, 1, {}, 1},
      {"mouse wheel", MouseProc, 1, 0, 0x20A, kCursor, 1, {}, 1},
      {"mouse left down, flag 2", MouseProc, 2, 0, 0x201, kCursor, 1, WM_FILTER_LBUTTONDOWN, 2},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    SetFilterMessage(c.flag);
    EXPECT_EQ(c.procedure(c.code, c.wParam, c.lParam), c.result);
    EXPECT_EQ(GetFilterMessage(), c.flagAfter);
    const auto got = pumped();
    if (c.posted) {
      ASSERT_EQ(got.size(), 1u);
      EXPECT_EQ(got[0].window, sink_);
      EXPECT_EQ(got[0].id, *c.posted);
      EXPECT_EQ(got[0].wParam, c.wParam);
      EXPECT_EQ(got[0].lParam, c.lParam);
    } else {
      EXPECT_TRUE(got.empty());
    }
  }
}

TEST_F(FilterTest, FlagByteIsKeptAsStored) {
  SetFilterMessage(2);
  EXPECT_EQ(GetFilterMessage(), 2);
  EXPECT_EQ(KeyboardProc(0, 'A', kKeyA), 1);
  SetFilterMessage(0);
  EXPECT_EQ(GetFilterMessage(), 0);
}

TEST_F(FilterTest, SpacePressThenReleaseEndsFilteringOnce) {
  SetFilterMessage(1);
  EXPECT_EQ(KeyboardProc(0, 0x20, kSpaceDown), 1);
  EXPECT_EQ(GetFilterMessage(), 0);
  EXPECT_EQ(KeyboardProc(0, 0x20, kSpaceUp), 0);  // the release passes
  EXPECT_EQ(MouseProc(0, 0x201, kCursor), 0);     // so does everything else
  const auto got = pumped();
  ASSERT_EQ(got.size(), 1u);
  EXPECT_EQ(got[0].id, WM_FILTER_SPACE);
  EXPECT_EQ(got[0].wParam, 0x20u);
  EXPECT_EQ(got[0].lParam, kSpaceDown);
}

TEST_F(FilterTest, PostsWithoutAHandlerWindowGoToTheCallingThread) {
  SetMessageHandler(wm::kNoWindow);
  SetFilterMessage(1);
  EXPECT_EQ(MouseProc(0, 0x204, kCursor), 1);
  wm::Message m;
  ASSERT_TRUE(wm::peekMessage(m));
  EXPECT_EQ(m.window, wm::kNoWindow);
  EXPECT_EQ(m.id, WM_FILTER_RBUTTONDOWN);
  EXPECT_EQ(m.lParam, kCursor);

  // A handler window that is gone: the post fails quietly, the hook works on.
  const wm::WindowHandle gone = wm::createWindow(wm::defaultWindowProcedure);
  wm::destroyWindow(gone);
  SetMessageHandler(gone);
  EXPECT_EQ(KeyboardProc(0, 0x20, kSpaceDown), 1);
  EXPECT_EQ(GetFilterMessage(), 0);
  EXPECT_FALSE(wm::peekMessage(m));
}

TEST_F(FilterTest, SpaceOnSeveralThreadsAtOnceIsReportedOnce) {
  constexpr int kThreads = 4;
  for (int round = 0; round < 1000; ++round) {
    SetFilterMessage(1);
    std::barrier start(kThreads);
    std::vector<LResult> results(kThreads);
    std::vector<std::thread> pressers;
    for (int i = 0; i < kThreads; ++i)
      pressers.emplace_back([&, i] {
        start.arrive_and_wait();
        results[i] = KeyboardProc(0, 0x20, kSpaceDown);
      });
    for (auto& t : pressers) t.join();
    EXPECT_EQ(GetFilterMessage(), 0);
    const auto got = pumped();
    ASSERT_EQ(got.size(), 1u) << "round " << round;
    EXPECT_EQ(got[0].id, WM_FILTER_SPACE);
    // Whoever saw the filter on swallowed the key; at least one did.
    EXPECT_NE(std::count(results.begin(), results.end(), 1), 0);
  }
}
