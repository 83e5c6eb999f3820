// A test host with the plugin loaded, and short ways to write program values.
#pragma once

#include "testhost.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace hosttest {

using testhost::CallResult;
using testhost::Value;
using testhost::ValueList;

inline Value I(long long v) {
    Value r;
    r.kind = Value::Kind::Integer;
    r.integer = v;
    return r;
}

inline Value D(double v) {
    Value r;
    r.kind = Value::Kind::Double;
    r.number = v;
    return r;
}

inline Value S(const std::string& s) {
    Value r;
    r.kind = Value::Kind::String;
    r.text = s;
    return r;
}

inline Value B(bool b) {
    Value r;
    r.kind = Value::Kind::Boolean;
    r.boolean = b;
    return r;
}

inline Value Colour(unsigned rgb) {
    Value r = I(rgb);
    r.kind = Value::Kind::Color;
    return r;
}

inline Value Doubles(const std::vector<double>& v) {
    Value r;
    r.kind = Value::Kind::Array;
    r.elementKind = Value::Kind::Double;
    r.elements = std::make_shared<ValueList>();
    for (double d : v) r.elements->push_back(D(d));
    return r;
}

inline Value Strings(const std::vector<std::string>& v) {
    Value r;
    r.kind = Value::Kind::Array;
    r.elementKind = Value::Kind::String;
    r.elements = std::make_shared<ValueList>();
    for (const std::string& s : v) r.elements->push_back(S(s));
    return r;
}

// Loads the plugin into a fresh host; ScaleFactor starts at 1 in every test.
class HostTest : public ::testing::Test {
protected:
    explicit HostTest(testhost::HostOptions options = testhost::HostOptions()) : host(std::move(options)) {}

    void SetUp() override {
        ASSERT_TRUE(host.load(PLOTVANE_HOST_PLUGIN));
        ASSERT_EQ(host.setShared("PVBaseChartRQX", "ScaleFactor", D(1)).status, CallResult::Status::Ok);
    }

    // The result of a call that must succeed.
    Value ok(const CallResult& r) {
        EXPECT_EQ(r.status, CallResult::Status::Ok) << r.message;
        return r.value;
    }
    Value make(const std::string& cls, const ValueList& args = {}) { return ok(host.construct(cls, args)); }
    Value call(const Value& target, const std::string& name, const ValueList& args = {}) {
        return ok(host.call(target, name, args));
    }

    testhost::TestHost host;
};

}  // namespace hosttest
