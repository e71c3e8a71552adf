#pragma once

#include <QTest>

// A row of a table that takes one text to the text it should give.
inline void textRow(const char* name, const QString& input, const QString& expected) {
    QTest::newRow(name) << input << expected;
}
