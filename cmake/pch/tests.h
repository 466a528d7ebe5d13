// Headers nearly every test includes, compiled once per test program.
#pragma once
#include "gui.h"
#include <QTemporaryDir>
#include <QtTest/QTest>
#include <gtest/gtest.h>
