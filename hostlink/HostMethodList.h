#pragma once

// The host's methods, listed once, with no dependency at all: the Linux side
// (HostMethods.h: the HostApp client, the protocol table, the test host) and
// the Windows host bridge are both generated from this list, so a method
// added on one side cannot be missed on the other.
//
// Each entry is X(Shape, name); the shape names the signature, in the host's
// own argument types (ref: by reference; the host may change the value):
//   Probe       text name()              that never fails (testconnect)
//   Plain       text name()
//   Text        text name(string ref)
//   TextText    text name(string ref, string ref)
//   Real        text name(real64 ref)
//   Int16       text name(int16 ref)
//   Int16Int16  text name(int16 ref, int16 ref)
//   RoiField    text name(int16 ref roi, string key)
//   Channels    int32 name()
//   Quantity    nothing name(real32 val)
//   Counts      nothing name(int32 array ref)
//   Number      real64 name()
#define LUMEN_HOST_METHODS(X)                                                                      \
    X(Probe, testconnect)                                                                          \
    X(Plain, Minimize)                                                                             \
    X(Plain, Maximize)                                                                             \
    X(Plain, StartAcquire)                                                                         \
    X(Plain, StopAcquire)                                                                          \
    X(Plain, Erasespectrum)                                                                        \
    X(Plain, presetsoff)                                                                           \
    X(Plain, presetson)                                                                            \
    X(Plain, SetUseLibEff)                                                                         \
    X(Plain, ClearUseLibEff)                                                                       \
    X(Plain, GetAcquireStatus)                                                                     \
    X(Plain, GetElapsedReal)                                                                       \
    X(Plain, GetElapsedLive)                                                                       \
    X(Channels, NumberOfCounts)                                                                    \
    X(Plain, GetLibrary)                                                                           \
    X(Plain, GetUseLibEff)                                                                         \
    X(Real, SetRealPreset)                                                                         \
    X(Real, SetLivePreset)                                                                         \
    X(Text, SetSpectrumID)                                                                         \
    X(Text, SaveSpt)                                                                               \
    X(Int16Int16, CopySpt)                                                                         \
    X(Quantity, SampleQuantity)                                                                    \
    X(Text, SampleDate)                                                                            \
    X(Text, SampleTime)                                                                            \
    X(Text, SampleUnits)                                                                           \
    X(RoiField, GetROIData)                                                                        \
    X(Int16, setprimary)                                                                           \
    X(Text, ClsLoadROis)                                                                           \
    X(TextText, LoadConfig)                                                                        \
    X(Text, Analyze)                                                                               \
    X(Text, PrintRprt)                                                                             \
    X(TextText, SaveRprt)                                                                          \
    X(Text, selectlibrary)                                                                         \
    X(Int16, GetExtInput)                                                                          \
    X(Int16Int16, SetExtOutput)                                                                    \
    X(Counts, GetCounts)                                                                           \
    X(Number, GetDeadtime)
