// A show host for tests: a simulated clock, a screen of a chosen size, and a record of
// what the show asked for.
#pragma once

#include <deque>
#include <functional>
#include <string>
#include <vector>

#include "show/show_host.h"

namespace kx::test {

class FakeShowHost : public ShowHost {
 public:
  FakeShowHost(int w, int h) : w_(w), h_(h) {}
  int ScreenWidth() const override { return w_; }
  int ScreenHeight() const override { return h_; }
  uint32_t TickCount() override { return now / tickQuantum * tickQuantum; }
  void Sleep(int ms) override {
    ++sleeps;
    if (!frozen) now += static_cast<uint32_t>(ms);
  }
  void ProcessMessages() override { ++messages; }
  void DrawToWindow(const Bitmap32& b, int x, int y) override {
    ++draws;
    lastX = x;
    lastY = y;
    if (onDraw) onDraw(b);
    Spend();
  }
  void FillBlack() override { ++blackFills; }
  bool StartDirectDraw() override { return directDrawWorks; }
  void DrawToSurface(const Bitmap32& b) override {
    ++surfaceDraws;
    surfaceW = b.Width();
    surfaceH = b.Height();
    if (onDraw) onDraw(b);
    Spend();
    if (surfaceFailsAfter >= 0 && surfaceDraws > surfaceFailsAfter) surfaceFailed = true;
  }
  bool SurfaceLost() override { return surfaceLost; }
  bool DirectDrawFailed() override { return surfaceFailed; }
  void ShowError(const std::string& text) override { errors.push_back(text); }
  void RequestClose() override { ++closeRequests; }
  bool PasswordAllowsClose() override { return true; }
  void SetCursorVisible(bool v) override { cursorVisible = v; }

  uint32_t now = 100000;
  // Each draw costs the next queued cost, then drawCostMs; a frozen clock never moves.
  uint32_t drawCostMs = 5;
  std::deque<uint32_t> drawCosts;
  bool frozen = false;
  uint32_t tickQuantum = 1;  // a coarse clock moves in steps of this many milliseconds
  std::function<void(const Bitmap32&)> onDraw;
  bool surfaceLost = false, surfaceFailed = false;
  int surfaceFailsAfter = -1;  // presenting fails after this many surface draws
  int sleeps = 0;
  bool directDrawWorks = true;
  int draws = 0, surfaceDraws = 0, blackFills = 0, messages = 0, closeRequests = 0;
  int lastX = 0, lastY = 0, surfaceW = 0, surfaceH = 0;
  bool cursorVisible = true;
  std::vector<std::string> errors;

 private:
  void Spend() {
    uint32_t cost = drawCostMs;
    if (!drawCosts.empty()) {
      cost = drawCosts.front();
      drawCosts.pop_front();
    }
    if (!frozen) now += cost;
  }
  int w_, h_;
};

}  // namespace kx::test
