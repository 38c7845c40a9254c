#pragma once
// Helpers shared by the logic tests: model texts as QString, a recalculation that
// must give a plan, and table rows comparing a model text with the expected one.

#include <QtTest>

#include "model/recalculation.h"

Q_DECLARE_METATYPE(kelvane::Inputs)

inline QString q(const std::string& s) {
    return QString::fromStdString(s);
}

inline kelvane::Recalculation recalculated(const kelvane::Inputs& c = {}) {
    auto outcome = kelvane::recalculate(c, kelvane::planVariablesFrom(c));
    if (const auto* refused = std::get_if<kelvane::RefusedPlan>(&outcome))
        qFatal("plan refused: %s", refused->reason.c_str());
    return std::get<kelvane::Recalculation>(std::move(outcome));
}

// A table of model texts and the texts expected: addTextColumns() in its _data
// function, checkTexts() in the function itself.
inline void addTextColumns() {
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("expected");
}
inline void textRow(const char* name, const std::string& text, const QString& expected) {
    QTest::newRow(name) << q(text) << expected;
}
inline void checkTexts() {
    QFETCH(QString, text);
    QTEST(text, "expected");
}
