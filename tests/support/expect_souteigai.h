#pragma once

#include "core/exceptions.h"

#include <QString>
#include <functional>
#include <gtest/gtest.h>

namespace zarno::test {

// f must raise ESouteigai naming the method, with the detail text.
inline void expectSouteigai(
    const std::function<void()> &f, const QString &method, const QString &detail)
{
    try {
        f();
        ADD_FAILURE() << "expected ESouteigai from " << method.toStdString();
    } catch (const ESouteigai &e) {
        EXPECT_EQ(e.methodName(), method);
        EXPECT_EQ(e.detail(), detail);
    }
}

} // namespace zarno::test
