// The W3 dashboard built by a host program: every call goes through the test host's records into
// the plugin, as the IDE's runtime makes them, beside the same chart built in C++ in the same
// process. The host route runs twice: driven from C++ calls, and as the program in
// host/w3_dashboard.bas through the test host's interpreter. Every route writes the PNG to a file;
// they take turns run by run so drift on a shared machine falls on all. Prints charts per second of
// each (median of 7 runs, CPU time) and the host routes' difference in percent.
#include <plotvane/plotvane.h>

#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "basic.h"
#include "benchclock.h"
#include "dashboard.h"
#include "testhost.h"

namespace {

using testhost::Value;
using testhost::ValueList;

double median(std::vector<double> v) {
    std::sort(v.begin(), v.end());
    return v[v.size() / 2];
}

Value number(double d, bool integer = false) {
    Value v;
    v.kind = integer ? Value::Kind::Integer : Value::Kind::Double;
    v.integer = static_cast<long long>(d);
    v.number = d;
    return v;
}

Value integer(long long i) { return number(static_cast<double>(i), true); }

Value text(const std::string& s) {
    Value v;
    v.kind = Value::Kind::String;
    v.text = s;
    return v;
}

Value flag(bool b) {
    Value v;
    v.kind = Value::Kind::Boolean;
    v.boolean = b;
    return v;
}

template <class T, class Make>
Value array(const std::vector<T>& items, Value::Kind kind, Make make) {
    Value v;
    v.kind = Value::Kind::Array;
    v.elementKind = kind;
    v.elements = std::make_shared<ValueList>();
    for (const T& item : items) v.elements->push_back(make(item));
    return v;
}

// What a host program holds before it draws: its data arrays.
struct Program {
    Value months, a, b, c, target;
    Program() {
        auto d = [](double x) { return number(x); };
        months = array<std::string>({"Jan", "Feb", "Mar", "Apr", "May", "Jun", "Jul", "Aug", "Sep", "Oct", "Nov", "Dec"},
                                    Value::Kind::String, text);
        a = array<double>({56, 72, 65, 80, 91, 77, 68, 84, 95, 88, 73, 62}, Value::Kind::Double, d);
        b = array<double>({42, 55, 61, 58, 70, 66, 59, 72, 81, 76, 64, 50}, Value::Kind::Double, d);
        c = array<double>({30, 38, 45, 52, 49, 57, 63, 60, 68, 71, 55, 47}, Value::Kind::Double, d);
        target = array<double>({50, 58, 60, 66, 75, 70, 64, 74, 85, 80, 66, 55}, Value::Kind::Double, d);
    }
};

Value call(testhost::TestHost& host, const Value& target, const char* name, const ValueList& args = {}) {
    return host.call(target, name, args).value;
}

double hostRun(testhost::TestHost& host, const Program& p, int count, const std::string& file) {
    const Value transparent = integer(static_cast<int>(0xff000000));
    const double start = benchclock::cpuSeconds();
    for (int k = 0; k < count; ++k) {
        Value c = host.construct("PVXYChartRQX", {integer(600), integer(400)}).value;
        call(host, c, "addTitle", {text("Monthly results"), text("bold"), number(14)});
        call(host, c, "setPlotArea", {integer(70), integer(60), integer(500), integer(280), integer(0xffffff), integer(-1),
                                      transparent, integer(0xdddddd)});
        call(host, call(host, c, "addLegend", {integer(70), integer(28), flag(false), text(""), number(9)}),
             "setBackground", {transparent});
        call(host, call(host, c, "addLineLayer", {p.target, integer(0xcc3311), text("Target")}), "setLineWidth", {integer(2)});
        Value bars = call(host, c, "addBarLayer", {integer(plotvane::Chart::Side)});
        call(host, bars, "addDataSet", {p.a, integer(0x4477aa), text("North")});
        call(host, bars, "addDataSet", {p.b, integer(0x66ccee), text("South")});
        call(host, bars, "addDataSet", {p.c, integer(0x228833), text("West")});
        Value x = call(host, c, "xAxis");
        call(host, x, "setLabels", {p.months});
        call(host, x, "setTitle", {text("Month")});
        Value y = call(host, c, "yAxis");
        call(host, y, "setTitle", {text("Units")});
        call(host, y, "setLinearScale", {number(0), number(110), number(10)});
        call(host, c, "makeChart", {text(file)});
    }
    return benchclock::cpuSeconds() - start;
}

// The program writes 200 charts into the working directory.
double programRun(testhost::TestHost& host, const std::string& source) {
    std::ostringstream out;
    const double start = benchclock::cpuSeconds();
    const std::string error = testhost::runProgram(source, host, out);
    const double seconds = benchclock::cpuSeconds() - start;
    if (!error.empty()) std::fprintf(stderr, "host program: %s\n", error.c_str());
    return error.empty() ? seconds : -1;
}

double cppRun(int count, const std::string& file) {
    const double start = benchclock::cpuSeconds();
    for (int k = 0; k < count; ++k) {
        plotvane::XYChart* c = buildDashboard();
        c->makeChart(file.c_str());
        c->destroy();
    }
    return benchclock::cpuSeconds() - start;
}

}  // namespace

int main() {
    testhost::TestHost host;
    if (!host.load(PLOTVANE_HOST_PLUGIN)) {
        std::fprintf(stderr, "cannot load %s\n", PLOTVANE_HOST_PLUGIN);
        return 1;
    }
    std::ifstream file(PLOTVANE_BENCH_DIR "/host/w3_dashboard.bas", std::ios::binary);
    std::stringstream source;
    source << file.rdbuf();
    const std::string dir = "/tmp/";
    if (chdir(dir.c_str()) != 0) return 1;
    const std::string hostFile = dir + "plotvane_w3_host.png", cppFile = dir + "plotvane_w3_cpp.png";
    const Program program;
    const int charts = 200, runs = 7;
    hostRun(host, program, 5, hostFile);
    cppRun(5, cppFile);
    std::vector<double> cpp, viaHost, viaProgram;
    for (int r = 0; r < runs; ++r) {
        cpp.push_back(cppRun(charts, cppFile));
        viaHost.push_back(hostRun(host, program, charts, hostFile));
        viaProgram.push_back(programRun(host, source.str()));
        if (viaProgram.back() < 0) return 1;
    }
    std::remove(hostFile.c_str());
    std::remove((dir + "w3_dashboard.png").c_str());
    std::remove(cppFile.c_str());
    const double cppRate = charts / median(cpp), hostRate = charts / median(viaHost),
                 programRate = charts / median(viaProgram);
    std::printf("W3 dashboard PNG through the IDE host plugin, %d charts, median of %d runs, CPU time\n", charts, runs);
    std::printf("  through C++:                %8.1f charts/s\n", cppRate);
    std::printf("  through the host's records: %8.1f charts/s  (%+.1f%%)\n", hostRate,
                100 * (hostRate - cppRate) / cppRate);
    std::printf("  as a host program:          %8.1f charts/s  (%+.1f%%)\n", programRate,
                100 * (programRate - cppRate) / cppRate);
    return 0;
}
