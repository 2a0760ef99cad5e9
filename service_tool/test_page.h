// The test page: the board test switch, the board's readings and inputs as
// they arrive, and the panel's network address.
#pragma once
#include <array>

#include "service_tool/board_test.h"
#include "service_tool/service_page.h"

namespace vesk {

class Button;
class CheckMark;
class NetworkAdapter;

class TestPage : public ServicePage {
public:
    static constexpr int kReadingCount = 11;
    static constexpr int kInputCount = 5;

    TestPage(AppFrame* frame, ServiceRecord& record, BoardTest& board, NetworkAdapter& adapter);

    void load() override;
    // A board frame came (or the page's own second passed).
    void refresh() override;
    void show() override;
    void hide() override;
    void timerTick() override;

    Button* testButton() const { return test_; }
    Label* reading(int i) const { return readings_.at(size_t(i)); }
    CheckMark* input(int i) const { return inputs_.at(size_t(i)); }
    Label* network() const { return network_; }

private:
    void toggleTest();
    void update(bool redraw);

    BoardTest& board_;
    NetworkAdapter& adapter_;
    Button* test_;
    std::array<Label*, kReadingCount> readings_{};
    std::array<CheckMark*, kInputCount> inputs_{};
    Label* network_;
};

}  // namespace vesk
