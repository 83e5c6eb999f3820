// The test host's interpreter against W3 itself: CPU time per chart that the interpreter adds when
// it runs bench/host/w3_dashboard.bas (its objects answer at once, so only the interpreter's own
// work is timed), beside W3 built and encoded in C++ in the same run. Medians of 5 runs.
//
//   bench_host_interpreter
#include <plotvane/plotvane.h>

#include <algorithm>
#include <cstdio>
#include <fstream>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

#include "basic.h"
#include "benchclock.h"
#include "dashboard.h"

namespace testhost {
struct HostObject {};
}  // namespace testhost

namespace {

using testhost::CallResult;
using testhost::Value;
using testhost::ValueList;

// Every call answers with one shared object, and makeChart with True.
class InstantModel : public testhost::ObjectModel {
public:
    InstantModel() {
        object_.kind = Value::Kind::Object;
        object_.object = std::make_shared<testhost::HostObject>();
    }
    CallResult construct(const std::string&, const ValueList&) override { return answer(object_); }
    CallResult call(const Value&, const std::string& name, const ValueList&) override {
        if (name != "makeChart") return answer(object_);
        Value yes;
        yes.kind = Value::Kind::Boolean;
        yes.boolean = true;
        return answer(yes);
    }
    CallResult callShared(const std::string&, const std::string&, const ValueList&) override {
        Value zero;
        zero.kind = Value::Kind::Integer;
        return answer(zero);
    }
    CallResult setShared(const std::string&, const std::string&, const Value&) override { return CallResult(); }
    bool isA(const Value&, const std::string&) override { return true; }
    std::string exceptionMessage(const Value&) override { return std::string(); }

private:
    static CallResult answer(const Value& v) {
        CallResult r;
        r.value = v;
        return r;
    }
    Value object_;
};

double median(std::vector<double> v) {
    std::sort(v.begin(), v.end());
    return v[v.size() / 2];
}

}  // namespace

int main() {
    std::ifstream file(PLOTVANE_BENCH_DIR "/host/w3_dashboard.bas", std::ios::binary);
    std::stringstream source;
    source << file.rdbuf();
    const int charts = 200, runs = 5;
    std::vector<double> interpreter, cxx;
    for (int r = 0; r < runs; ++r) {
        InstantModel model;
        std::ostringstream out;
        double start = benchclock::cpuSeconds();
        std::string error = testhost::runProgram(source.str(), model, out);
        interpreter.push_back(benchclock::cpuSeconds() - start);
        if (!error.empty()) {
            std::fprintf(stderr, "%s\n", error.c_str());
            return 1;
        }
        start = benchclock::cpuSeconds();
        for (int k = 0; k < charts; ++k) {
            plotvane::XYChart* c = buildDashboard();
            c->makeChart(plotvane::Chart::PNG);
            c->destroy();
        }
        cxx.push_back(benchclock::cpuSeconds() - start);
    }
    double perChart = median(interpreter) / charts, cxxPerChart = median(cxx) / charts;
    std::printf("W3 as a host program, interpreter alone, %d charts, median of %d runs, CPU time\n", charts, runs);
    std::printf("  interpreter:       %8.1f us per chart (parsing included)\n", 1e6 * perChart);
    std::printf("  W3 through C++:    %8.1f us per chart\n", 1e6 * cxxPerChart);
    std::printf("  interpreter / C++: %8.2f %%\n", 100 * perChart / cxxPerChart);
    return 0;
}
