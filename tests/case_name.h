#pragma once

#include <gtest/gtest.h>

#include <string>

// Names each case of a parameterised test after the case's own name field.
struct CaseName {
    template <class Case>
    std::string operator()(const testing::TestParamInfo<Case>& caseInfo) const {
        return caseInfo.param.name;
    }
};
