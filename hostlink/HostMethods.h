#pragma once

#include <QString>
#include <cstdint>
#include <vector>

// The host's methods, listed once. The client, the bridge's method table and
// the test host are generated from this list; each of them overrides every
// method of HostApp, so a method added to the interface and not here (or the
// other way round) stops the build.
//
// Each entry is X(Shape, name); the shape names the signature:
//   Probe       QString name()  that never throws (testconnect)
//   Plain       QString name()
//   Text        QString name(QString &)
//   TextText    QString name(QString &, QString &)
//   Real        QString name(double &)
//   Int16       QString name(std::int16_t &)
//   Int16Int16  QString name(std::int16_t &, std::int16_t &)
//   RoiField    QString name(std::int16_t &roi, const QString &key)
//   Channels    std::int32_t name()
//   Quantity    void name(float)
//   Counts      void name(std::vector<std::int32_t> &)
//   Number      double name()
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

// The signature of each shape, its arguments named a0 and a1:
// LUMEN_HOST_SIGNATURE_##Shape(Class::name) begins a definition.
#define LUMEN_HOST_SIGNATURE_Probe(name) QString name()
#define LUMEN_HOST_SIGNATURE_Plain(name) QString name()
#define LUMEN_HOST_SIGNATURE_Text(name) QString name(QString &a0)
#define LUMEN_HOST_SIGNATURE_TextText(name) QString name(QString &a0, QString &a1)
#define LUMEN_HOST_SIGNATURE_Real(name) QString name(double &a0)
#define LUMEN_HOST_SIGNATURE_Int16(name) QString name(std::int16_t &a0)
#define LUMEN_HOST_SIGNATURE_Int16Int16(name) QString name(std::int16_t &a0, std::int16_t &a1)
#define LUMEN_HOST_SIGNATURE_RoiField(name) QString name(std::int16_t &a0, const QString &a1)
#define LUMEN_HOST_SIGNATURE_Channels(name) std::int32_t name()
#define LUMEN_HOST_SIGNATURE_Quantity(name) void name(float a0)
#define LUMEN_HOST_SIGNATURE_Counts(name) void name(std::vector<std::int32_t> &a0)
#define LUMEN_HOST_SIGNATURE_Number(name) double name()

// Declares every method as an override, for a class that implements HostApp.
#define LUMEN_HOST_DECLARE_OVERRIDE(Shape, name) LUMEN_HOST_SIGNATURE_##Shape(name) override;
#define LUMEN_HOST_OVERRIDES LUMEN_HOST_METHODS(LUMEN_HOST_DECLARE_OVERRIDE)
