// Headers nearly every test includes, compiled once per test program.
#pragma once
#include "cmake/pch/gui.h"
#include <QTemporaryDir>
#include <QtTest/QTest>
#include <gtest/gtest.h>
