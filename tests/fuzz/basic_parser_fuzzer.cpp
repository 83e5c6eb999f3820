// libFuzzer target: any bytes as a program of the test host's interpreter. Objects answer every
// call with Nil, so runs explore the language itself.
#include "basic_input.h"

namespace {

class NilModel : public testhost::ObjectModel {
public:
    testhost::CallResult construct(const std::string&, const testhost::ValueList&) override { return {}; }
    testhost::CallResult call(const testhost::Value&, const std::string&, const testhost::ValueList&) override {
        return {};
    }
    testhost::CallResult callShared(const std::string&, const std::string&, const testhost::ValueList&) override {
        return {};
    }
    testhost::CallResult setShared(const std::string&, const std::string&, const testhost::Value&) override {
        return {};
    }
    bool isA(const testhost::Value&, const std::string&) override { return false; }
    std::string exceptionMessage(const testhost::Value&) override { return std::string(); }
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    NilModel model;
    if (!plotvane_fuzz::runBasicInput(data, size, model)) __builtin_trap();
    return 0;
}
