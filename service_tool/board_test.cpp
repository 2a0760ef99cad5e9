// BoardTest: the start-up wait and the test outputs.
#include "service_tool/board_test.h"

#include <mutex>

#include "board/reading_frame.h"
#include "platform/process.h"

namespace vesk {

namespace {
constexpr int kTestPower = 50;
constexpr uint16_t kAllOutputFlags =
    kOutValve1Open | kOutValve1Close | kOutValve2Open | kOutValve2Close | kOutBunkerFiller | kOutAshRemover;
}  // namespace

BoardTest::BoardTest(const Clock& clock, RefreshSink& refresh)
    : clock_(clock), link_(state_, Variant::Kestralo, clock, refresh) {
    std::lock_guard<std::recursive_mutex> g(state_.stateLock);
    state_.sensors.fill(kInvalidTemp);
    // Readings are shown as the board measures them: no corrections, no
    // substitution, the flue-gas sensor in use.
    state_.usr.GAS_TEMP_SENSOR_ENABLE = 1;
    // No emergency auger override: the test decides the auger alone.
    state_.svc.EMSTART_ENABLE = 0;
    link_.sendOnlyToKnownBoards(true);
}

BoardTest::~BoardTest() { stop(); }

void BoardTest::start(std::string controllerProgram, std::string device, std::function<void()> controllerGone) {
    if (starter_.joinable()) return;
    phase_ = Phase::Waiting;
    starter_ = std::thread([this, p = std::move(controllerProgram), d = std::move(device),
                            g = std::move(controllerGone)] { waitThenOpen(p, d, g); });
}

void BoardTest::waitThenOpen(const std::string& program, const std::string& device,
                             const std::function<void()>& gone) {
    while (isProgramRunningAt(program)) {
        stopEvent_.wait(clock_, kPollMs);
        if (stopping_) return;
    }
    if (stopping_) return;
    if (gone) gone();
    phase_ = link_.start(device) ? Phase::Running : Phase::NoPort;
}

void BoardTest::stop() {
    // Outputs the test switched on do not stay on when the tool goes.
    if (phase_ == Phase::Running && testMode_) {
        setTestMode(false, state_.svc);
        Event settle;
        settle.wait(clock_, kSettleMs);
    }
    stopping_ = true;
    stopEvent_.set();
    if (starter_.joinable()) starter_.join();
    link_.stop();
}

void BoardTest::setTestMode(bool on, const ServiceParams& inverter) {
    testMode_ = on;
    {
        std::lock_guard<std::recursive_mutex> g(state_.stateLock);
        const int v = on ? 1 : 0;
        state_.pumpCh = state_.pumpDhw = state_.pumpLoop = v;
        state_.augerOn = v;
        state_.outputFlags = on ? kAllOutputFlags : 0;
        state_.controlFlags = on ? uint32_t{kFlagIgniter} : 0u;
        state_.fanPower = state_.exhaustFanPower = on ? kTestPower : 0;
        state_.svc.WORM_SPEED = inverter.WORM_SPEED;
        state_.svc.WORM_OVC_CUR = inverter.WORM_OVC_CUR;
        state_.svc.WORM_OVC_TOUT = inverter.WORM_OVC_TOUT;
        state_.svc.WORM_FORW_TIME = inverter.WORM_FORW_TIME;
        state_.svc.WORM_REV_TIME = inverter.WORM_REV_TIME;
        state_.svc.WORM_PAUSE_TIME = inverter.WORM_PAUSE_TIME;
    }
    link_.sendNow();
}

BoardReadings BoardTest::readings() {
    BoardReadings r;
    std::lock_guard<std::recursive_mutex> g(state_.stateLock);
    if (readingPayloadSize(state_.boardVersion) != 0) r.firmware = state_.boardVersion;
    for (int i = 0; i < kSensorCount; ++i) r.sensors[size_t(i)] = r.firmware ? state_.readSensor(i) : kInvalidTemp;
    r.inputs = r.firmware ? state_.boardInputs : 0;
    return r;
}

}  // namespace vesk
