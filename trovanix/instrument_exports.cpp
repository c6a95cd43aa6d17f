// The instrument functions a host calls. No hardware is attached: every
// function stores its fixed answers in the caller's out variables and returns
// its fixed result, whatever it was given. Functions the host's tables give
// a result without a fixed answer return 0.
#include "trovanix/trovanix.h"

namespace {

constexpr uint8_t kFalse = 0;
constexpr uint8_t kTrue = 1;

// Writes an out variable; a null reference is skipped.
template <class T>
inline void store(T* out, T value) noexcept {
  if (out) *out = value;
}

constinit const platform::ConstantString kFormula{"sin(x)"};

}  // namespace

extern "C" {

// Each macro below stands for one shape of function the families share.
#define TVX_NOTHING(name) \
  void name(void) noexcept {}
#define TVX_WORD(name) \
  void name(trovanix_word) noexcept {}
#define TVX_WORD2(name) \
  void name(trovanix_word, trovanix_word) noexcept {}
#define TVX_BYTE(name) \
  void name(uint8_t) noexcept {}
#define TVX_BYTE2(name) \
  void name(uint8_t, uint8_t) noexcept {}
#define TVX_BYTE3(name) \
  void name(uint8_t, uint8_t, uint8_t) noexcept {}
#define TVX_DOUBLE(name) \
  void name(double) noexcept {}
#define TVX_WORD_BYTE(name) \
  void name(trovanix_word, uint8_t) noexcept {}
#define TVX_OUT_BYTE(name, value) \
  void name(uint8_t* out) noexcept { store(out, value); }
#define TVX_WORD_OUT_BYTE(name, value) \
  void name(trovanix_word, uint8_t* out) noexcept { store(out, value); }
#define TVX_INIT_READY(name)                          \
  void name(uint8_t* ready, uint8_t* busy) noexcept { \
    store(ready, kTrue);                               \
    store(busy, kFalse);                               \
  }
#define TVX_OUT_BYTE_OUT_COUNT(name)                   \
  void name(uint8_t* out, uint32_t* count) noexcept { \
    store(out, kFalse);                                \
    store<uint32_t>(count, 0);                         \
  }
#define TVX_OUT_WORD32(name) \
  void name(uint32_t* out) noexcept { store<uint32_t>(out, 0); }
#define TVX_OUT_WORD16(name) \
  void name(uint16_t* out) noexcept { store<uint16_t>(out, 0); }
#define TVX_OUT_DOUBLE(name) \
  void name(double* out) noexcept { store(out, 0.0); }
#define TVX_STATUS_WORDS(name, ...) \
  trovanix_status name(__VA_ARGS__) noexcept { return 0; }

// Voltmeter.
TVX_WORD2(InitDVMHW)
TVX_WORD2(DoneDVMHW)
void InitDVM(trovanix_word, uint8_t* ready, uint8_t* busy) noexcept {
  store(ready, kTrue);
  store(busy, kFalse);
}
TVX_WORD_OUT_BYTE(DoneDVM, kTrue)
TVX_WORD_OUT_BYTE(GetDVMMeasRanges, kFalse)
TVX_WORD_OUT_BYTE(GetDVMMode, kFalse)
TVX_WORD_BYTE(SetDVMMeasRange)
TVX_WORD_BYTE(SetDVMMode)
TVX_WORD_BYTE(SetDVMChannel)
TVX_WORD_BYTE(SetDVMAutoMeasRange)
void GetDVMMeasRange(trovanix_word, uint8_t* range, trovanix_word, trovanix_word) noexcept {
  store(range, kFalse);
}
uint8_t CheckDVMMode(trovanix_word, uint8_t* mode) noexcept {
  store(mode, kFalse);
  return kFalse;
}
void GetDVMHIChannels(trovanix_word, uint8_t* count, uint32_t* channels) noexcept {
  store(count, kFalse);
  store<uint32_t>(channels, 0);
}
void GetDVMLOChannels(trovanix_word, uint8_t* count, uint32_t* channels) noexcept {
  store(count, kFalse);
  store<uint32_t>(channels, 0);
}
uint8_t ReadDVM(trovanix_word, double* value, uint8_t* overflow) noexcept {
  store(value, 0.0);
  store(overflow, kFalse);
  return 0;
}

// Oscilloscope.
TVX_OUT_BYTE(InitSCPHW, kTrue)
TVX_OUT_BYTE(DoneSCPHW, kTrue)
TVX_INIT_READY(InitSCP)
TVX_BYTE(DoneSCP)
TVX_BYTE(SetSCPMeasRange)
TVX_BYTE(SetSCPTrigMode)
TVX_BYTE(SetSCPTrigSlope)
TVX_BYTE(SetSCPTrigSource)
TVX_BYTE(SetSCPTimeBaseRange)
TVX_BYTE(SetSCPXYChannel)
TVX_BYTE(SetSCPCursMode)
TVX_BYTE(SetSCPCouplingMode)
TVX_BYTE(SetSCPStorageMode)
TVX_BYTE(SetSCPChannel)
void GetSCPMeasRanges(uint8_t* first, uint8_t* count) noexcept {
  store(first, kFalse);
  store(count, kFalse);
}
void GetSCPTimeBaseRanges(uint8_t* first, uint8_t* count) noexcept {
  store(first, kFalse);
  store(count, kFalse);
}
void GetSCPMeasRange(uint8_t* range, double* value, uint8_t) noexcept {
  store(range, kFalse);
  store(value, 0.0);
}
void GetSCPTimeBaseRange(uint8_t* range, double* value, uint8_t) noexcept {
  store(range, kFalse);
  store(value, 0.0);
}
double GetSCPVerticalLevel(void) noexcept { return 0.0; }
TVX_DOUBLE(SetSCPVerticalLevel)
TVX_DOUBLE(SetSCPTrigLevel)
TVX_DOUBLE(SetSCPHorizontalPosition)
void GetSCPVerticalLevelParams(double* low, double* high, double* step) noexcept {
  store(low, 0.0);
  store(high, 0.0);
  store(step, 0.0);
}
TVX_OUT_BYTE_OUT_COUNT(GetSCPTrigModes)
TVX_OUT_BYTE_OUT_COUNT(GetSCPTrigSources)
TVX_OUT_BYTE_OUT_COUNT(GetSCPXYChannels)
TVX_OUT_BYTE_OUT_COUNT(GetSCPChannels)
TVX_OUT_BYTE(GetSCPTrigMode, kFalse)
TVX_OUT_BYTE(GetSCPTrigSource, kFalse)
TVX_OUT_BYTE(SetSCPXYMode, kFalse)
TVX_OUT_BYTE(GetSCPCouplingModes, kFalse)
TVX_OUT_BYTE(StartSCPSampling, kFalse)
TVX_OUT_DOUBLE(GetSCPTrigLevel)
void GetSCPTrigLevelParams(double* low, double* high, double* step, double* level) noexcept {
  store(low, 0.0);
  store(high, 0.0);
  store(step, 0.0);
  store(level, 0.0);
}
uint8_t GetSCPXYChannel(void) noexcept { return 0; }
uint8_t GetSCPCouplingMode(void) noexcept { return 0; }
TVX_BYTE2(SetSCPChannelOn)
TVX_NOTHING(StopSCPSampling)
void ReadSCPWaveform(trovanix_word, uint16_t* points, uint32_t* data, trovanix_word, trovanix_word,
                     trovanix_word, trovanix_word, trovanix_word, uint8_t* overflow) noexcept {
  store<uint16_t>(points, 0);
  store<uint32_t>(data, 0);
  store(overflow, kFalse);
}

// Function generator.
TVX_WORD(InitFGHW)
TVX_WORD(DoneFGHW)
TVX_WORD(CheckFGPhase)
TVX_WORD(GetFGPhase)
TVX_WORD(CheckFGFreq)
TVX_WORD(CheckFGOffs)
TVX_WORD(CheckFGMaxMinFreq)
TVX_WORD(CheckFGSweepTime)
void InitFG(trovanix_word, trovanix_word, trovanix_word) noexcept {}
TVX_BYTE(DoneFG)
TVX_BYTE(SetFGBusyState)
TVX_BYTE(SetFGWaveform)
TVX_BYTE(SetFGChannel)
TVX_OUT_BYTE(CheckFGBusyState, kFalse)
TVX_OUT_BYTE(CheckFGWaveform, kFalse)
TVX_OUT_BYTE(GetFGWaveform, kFalse)
TVX_NOTHING(StopFG)
TVX_NOTHING(StartFG)
TVX_BYTE2(SetFGMode)
void GetFGMode(uint8_t, trovanix_word) noexcept {}
uint16_t GetFGParams(uint8_t) noexcept { return 0; }
TVX_DOUBLE(SetFGFreq)
TVX_DOUBLE(SetFGAmpl)
TVX_DOUBLE(SetFGOffs)
TVX_DOUBLE(SetFGPhase)
TVX_OUT_DOUBLE(GetFGFreq)
TVX_OUT_DOUBLE(GetFGAmpl)
TVX_OUT_DOUBLE(GetFGOffs)
TVX_WORD2(CheckFGAmpl)
TVX_OUT_WORD32(CheckFGSweepNum)
platform_string GetFGFormula(void) noexcept {
  return platform_string_add_ref(kFormula.get());
}
uint32_t SetFGFormula(platform_string formula) noexcept {
  // The formula is taken and let go again: nothing of it is kept.
  const platform::SharedString taken = platform::SharedString::share(formula);
  return 0;
}
uint32_t SetFGUserDefSignalTable(trovanix_word, trovanix_word) noexcept { return 0; }
uint8_t ConvertFGWaveform(trovanix_word) noexcept { return 0; }
TVX_OUT_BYTE_OUT_COUNT(GetFGChannels)
void GetFGFreqStep(trovanix_word, double) noexcept {}
void GetFGAmplStep(trovanix_word, double) noexcept {}
void GetFGOffsStep(trovanix_word, double) noexcept {}
void GetFGPhaseStep(trovanix_word, double) noexcept {}

// Signal analyser.
TVX_WORD(InitSAHW)
TVX_WORD(DoneSAHW)
TVX_WORD(GetSAMeasRanges)
TVX_WORD_OUT_BYTE(InitSA, kFalse)
TVX_BYTE(DoneSA)
TVX_BYTE(SetSAMeasRange)
TVX_BYTE(SetSAAutoMeasRange)
TVX_BYTE(SetSATrigMode)
TVX_BYTE(SetSATrigSlope)
TVX_BYTE(SetSATrigSource)
TVX_BYTE(SetSACouplingMode)
TVX_BYTE(SetSAMeasMode)
TVX_BYTE(SetSAMeasWindow)
TVX_BYTE(SetSAChannel)
void GetSAMeasRange(trovanix_word, trovanix_word, uint8_t, trovanix_word) noexcept {}
TVX_WORD2(CheckSAMeasRef)
TVX_WORD2(GetSATrigModes)
TVX_WORD2(GetSATrigSources)
TVX_WORD2(CheckSAFreqRange)
TVX_WORD2(GetSAFreqRange)
TVX_WORD2(GetSAFreqResolution)
TVX_WORD2(GetSAMeasModes)
TVX_WORD2(GetSAMeasWindows)
TVX_WORD2(GetSAChannels)
void SetSAMeasRef(uint8_t, double) noexcept {}
double GetSAMeasRef(trovanix_word, uint8_t) noexcept { return 0.0; }
uint8_t GetSATrigMode(void) noexcept { return 0; }
uint8_t GetSATrigSlope(void) noexcept { return 0; }
uint8_t GetSATrigSource(void) noexcept { return 0; }
uint8_t GetSAMeasMode(void) noexcept { return 0; }
uint8_t GetSAMeasWindow(void) noexcept { return 0; }
uint8_t GetSAChannel(void) noexcept { return 0; }
uint8_t StartSAMeasurement(void) noexcept { return 0; }
TVX_WORD_BYTE(CheckSATrigLevel)
TVX_WORD_BYTE(SetSAFreqResolution)
TVX_DOUBLE(SetSATrigLevel)
double GetSATrigLevel(void) noexcept { return 0.0; }
void SetSAFreqRange(double, double) noexcept {}
void CheckSAFreqResolution(trovanix_word, trovanix_word, uint8_t) noexcept {}
TVX_BYTE2(SetSAChannelOn)
uint8_t GetSAChannelOn(uint8_t) noexcept { return 0; }
TVX_NOTHING(StopSAMeasurement)
void ReadSAData(trovanix_word, trovanix_word, trovanix_word, trovanix_word, trovanix_word) noexcept {}
uint32_t ReadSACurve(trovanix_word, trovanix_word, trovanix_word, trovanix_word, trovanix_word,
                     trovanix_word, trovanix_word, trovanix_word, trovanix_word) noexcept {
  return 0;
}

// Logic analyser.
TVX_OUT_BYTE(InitLAHW, kTrue)
TVX_OUT_BYTE(DoneLAHW, kTrue)
TVX_INIT_READY(InitLA)
TVX_BYTE(DoneLA)
TVX_OUT_BYTE_OUT_COUNT(GetLATrigModes)
TVX_OUT_BYTE_OUT_COUNT(GetLATrigSources)
TVX_OUT_BYTE_OUT_COUNT(GetLATrigPattern)
TVX_OUT_BYTE_OUT_COUNT(GetLAClockSources)
TVX_OUT_BYTE_OUT_COUNT(GetLAThresholdModes)
TVX_OUT_BYTE_OUT_COUNT(GetLAChannels)
TVX_WORD(SetLATrigMode)
TVX_WORD(SetLATrigSource)
TVX_WORD(SetLATrigDelay)
TVX_WORD(SetLATrigPosition)
TVX_WORD(SetLAClockSource)
TVX_WORD(SetLAThresholdMode)
TVX_OUT_WORD32(GetLATrigMode)
TVX_OUT_WORD32(GetLATrigSource)
TVX_OUT_WORD32(CheckLATrigDelay)
TVX_OUT_WORD32(GetLATrigDelay)
TVX_OUT_WORD32(CheckLATrigPosition)
TVX_OUT_WORD32(GetLATrigPosition)
TVX_OUT_WORD32(GetLAClockSource)
TVX_OUT_WORD32(GetLAThresholdMode)
void SetLATrigPattern(uint8_t, trovanix_word) noexcept {}
TVX_OUT_DOUBLE(CheckLAClockPeriod)
TVX_OUT_DOUBLE(GetLAClockPeriod)
TVX_DOUBLE(SetLAClockPeriod)
TVX_NOTHING(SetLANextClockPeriodRange)
TVX_NOTHING(SetLAPrevClockPeriodRange)
TVX_NOTHING(StopLA)
TVX_OUT_WORD16(CheckLAMeasLength)
TVX_OUT_WORD16(GetLAMeasLength)
TVX_OUT_WORD16(CheckLATimeOut)
TVX_OUT_WORD16(GetLATimeOut)
void SetLAMeasLength(uint16_t) noexcept {}
void SetLATimeOut(uint16_t) noexcept {}
TVX_BYTE2(SetLAChannel)
TVX_BYTE3(SetLAChannelOn)
void ReadLAWaveforms(trovanix_word, trovanix_word, trovanix_word, trovanix_word) noexcept {}

// Digital signal generator.
TVX_WORD(InitDSGHW)
TVX_WORD(DoneDSGHW)
TVX_WORD(DoneDSG)
TVX_WORD(SetDSGSteppingMode)
TVX_WORD(GetDSGSteppingMode)
TVX_WORD(SetDSGTrigSource)
TVX_WORD(GetDSGTrigSource)
TVX_WORD(SetDSGDataPattern)
TVX_WORD(GetDSGDataPattern)
TVX_WORD(SetDSGClockSource)
TVX_WORD(GetDSGClockSource)
TVX_WORD(CheckDSGClockPeriod)
TVX_WORD(GetDSGClockPeriod)
TVX_WORD(CheckDSGMeasLength)
TVX_WORD(SetDSGMeasLength)
TVX_WORD(GetDSGMeasLength)
TVX_WORD(SetDSGThresholdMode)
TVX_WORD(GetDSGThresholdMode)
TVX_WORD(StartDSG)
TVX_WORD(StepDSG)
TVX_WORD(GetDSGActStep)
TVX_WORD_OUT_BYTE(InitDSG, kFalse)
TVX_WORD2(GetDSGSteppingModes)
TVX_WORD2(GetDSGTrigSources)
TVX_WORD2(GetDSGClockSources)
TVX_WORD2(GetDSGThresholdModes)
TVX_WORD2(GetDSGChannels)
TVX_DOUBLE(SetDSGClockPeriod)
TVX_NOTHING(SetDSGNextClockPeriodRange)
TVX_NOTHING(SetDSGPrevClockPeriodRange)
TVX_NOTHING(StopDSG)
TVX_BYTE2(SetDSGChannel)
TVX_BYTE3(SetDSGChannelOn)

// XY recorder.
TVX_WORD(InitXYRECHW)
TVX_WORD(DoneXYRECHW)
TVX_WORD(GetXYRECMeasRanges)
TVX_WORD_OUT_BYTE(InitXYREC, kFalse)
TVX_BYTE(DoneXYREC)
TVX_BYTE(SetXYRECXMeasRange)
TVX_BYTE(SetXYRECYMeasRange)
TVX_BYTE(SetXYRECXChannel)
TVX_BYTE(SetXYRECYChannel)
void GetXYRECMeasRange(trovanix_word, trovanix_word, uint8_t) noexcept {}
TVX_WORD2(GetXYRECXChannels)
TVX_WORD2(GetXYRECYChannels)
TVX_WORD2(ReadXYREC)
TVX_BYTE2(SetXYRECChannelOn)
void StartXYRECMeasurement(trovanix_word, uint16_t) noexcept {}
TVX_NOTHING(StopXYRECMeasurement)

// Three-phase generator. From Enable3PhaseGen on every function answers
// with status 0 (S_OK).
TVX_WORD(Init3PhaseGenHW)
TVX_WORD(Done3PhaseGenHW)
TVX_WORD2(Init3PhaseGen)
TVX_BYTE(Done3PhaseGen)
TVX_STATUS_WORDS(Enable3PhaseGen, trovanix_word)
TVX_STATUS_WORDS(Check3PhaseGenFrequency, trovanix_word)
TVX_STATUS_WORDS(Get3PhaseGenFrequency, trovanix_word)
TVX_STATUS_WORDS(Set3PhaseGenFormula, trovanix_word)
TVX_STATUS_WORDS(Set3PhaseGenFunction, trovanix_word)
TVX_STATUS_WORDS(Get3PhaseGenFunction, trovanix_word)
TVX_STATUS_WORDS(Set3PhaseGenFrequency, trovanix_word, trovanix_word)
TVX_STATUS_WORDS(Get3PhaseGenFunctions, trovanix_word, trovanix_word)
TVX_STATUS_WORDS(Set3PhaseGenAmplitude, trovanix_word, trovanix_word, trovanix_word,
                 trovanix_word, trovanix_word, trovanix_word)
TVX_STATUS_WORDS(Check3PhaseGenAmplitude, trovanix_word, trovanix_word, trovanix_word)
TVX_STATUS_WORDS(Get3PhaseGenAmplitude, trovanix_word, trovanix_word, trovanix_word)
TVX_STATUS_WORDS(Get3PhaseGenPhase23, trovanix_word, trovanix_word, trovanix_word)
TVX_STATUS_WORDS(Check3PhaseGenPhase23, trovanix_word, trovanix_word, trovanix_word)
TVX_STATUS_WORDS(Set3PhaseGenPhase23, trovanix_word, trovanix_word, trovanix_word, trovanix_word)
trovanix_status Get3PhaseGenFormula(platform_string* formula) noexcept {
  if (formula) {
    platform_string_release(*formula);
    *formula = nullptr;
  }
  return 0;
}

// Relays.
TVX_WORD(InitRelaisHW)
TVX_WORD(DoneRelaisHW)
TVX_WORD2(InitRelais)
TVX_BYTE(DoneRelais)
void SetRelais(uint16_t) noexcept {}
uint16_t GetRelais(void) noexcept { return 0; }

// Digital inputs and outputs.
TVX_WORD(InitDigIOHW)
TVX_WORD(DoneDigIOHW)
TVX_WORD(SetDigIO)
TVX_WORD2(InitDigIO)
TVX_BYTE(DoneDigIO)
uint32_t GetDigIO(void) noexcept { return 0; }

// General hardware functions.
TVX_NOTHING(CallHWSetupDialog)
TVX_NOTHING(DoneHW)
uint16_t GetTestCardID(uint8_t* present) noexcept {
  store(present, kTrue);
  return 0;
}
uint32_t SwitchToTestCard(void) noexcept { return 0; }
uint32_t SwitchToFrontPanel(void) noexcept { return 0; }
TVX_WORD(ErrGenSetSwitches)
uint8_t GetHWInstrCount(uint8_t, trovanix_word) noexcept { return 0; }
uint8_t HWCanCo_operate(uint8_t, uint8_t) noexcept { return kTrue; }
TVX_WORD2(HWMessageHandler)
void InitHW(platform_string path, platform_string options, uint8_t* ready) noexcept {
  // Both texts are taken and let go again: nothing of them is kept.
  const platform::SharedString taken_path = platform::SharedString::share(path);
  const platform::SharedString taken_options = platform::SharedString::share(options);
  store(ready, kTrue);
}
uint8_t CheckHW(void) noexcept { return kFalse; }
TVX_OUT_BYTE(GetDevName, kFalse)

}  // extern "C"
