#pragma once

#include <QString>
#include <cstdint>
#include <vector>

// The host's methods in Qt's types. The list itself (HostMethodList.h) needs
// nothing, so that the Windows bridge is generated from it too. The client,
// the protocol table and the test host each override every method of HostApp,
// so a method added to the interface and not to the list (or the other way
// round) stops the build.
#include "hostlink/HostMethodList.h"

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
