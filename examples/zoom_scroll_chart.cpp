// A zoomable, scrollable time series served to a browser. The page sends each drag, wheel turn
// and click to this program, which hands it to a ViewPortManager, draws the chart again for the
// new view port and answers with the view port and the x axis range it drew.
//
// Run alone, it writes the chart at full range and zoomed in on its last quarter. With
// "--serve [PORT]" it listens on 127.0.0.1 only (port 0, the default, picks a free one), prints
// "http://127.0.0.1:PORT/" once it is ready, and stops on /quit or after a minute without requests.
#include <plotvane/plotvane.h>

#include <arpa/inet.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

using namespace plotvane;

namespace {

const char* kPage = R"(<!DOCTYPE html>
<html lang="en"><head><meta charset="utf-8"><title>Zoom and scroll</title><link rel="icon" href="data:,">
</head><body>
<p>Drag to scroll, turn the wheel to zoom, click to zoom in.</p>
<img id="chart" src="/chart.png?0" width="720" height="360" alt="Daily values" draggable="false">
<pre id="state"></pre>
<script>
const chart = document.getElementById("chart"), state = document.getElementById("state");
let down = null, renders = 0;
function send(query) {
  fetch("/view?" + query).then((r) => r.json()).then((s) => {
    chart.onload = () => { state.textContent = JSON.stringify(s); };
    chart.src = "/chart.png?" + ++renders;
  });
}
function at(e) {
  const r = chart.getBoundingClientRect();
  return [Math.round(e.clientX - r.left), Math.round(e.clientY - r.top)];
}
chart.addEventListener("mousedown", (e) => { down = at(e); });
chart.addEventListener("mouseup", (e) => {
  const [x, y] = at(e);
  if (down && (x !== down[0] || y !== down[1])) send("op=drag&dx=" + (x - down[0]) + "&dy=" + (y - down[1]));
  else send("op=click&x=" + x + "&y=" + y);
  down = null;
});
chart.addEventListener("wheel", (e) => {
  e.preventDefault();
  const [x, y] = at(e);
  send("op=wheel&x=" + x + "&y=" + y + "&ratio=" + (e.deltaY < 0 ? 1.25 : 0.8));
}, {passive: false});
send("op=none");
</script></body></html>
)";

struct Session {
    ViewPortManager* viewPort = ViewPortManager::create();
    std::vector<double> times, values;
    std::string png;
    double axisMin = 0, axisMax = 0;
};

XYChart* drawChart(Session& s) {
    XYChart* c = XYChart::create(720, 360);
    c->setPlotArea(60, 20, 630, 300, 0xffffff, -1, Chart::Transparent, 0xdddddd, 0xdddddd);
    c->setClipping();
    int n = static_cast<int>(s.times.size());
    c->addLineLayer(DoubleArray(s.values.data(), n), 0x3366cc)->setXData(DoubleArray(s.times.data(), n));
    s.viewPort->syncDateAxisWithViewPort("x", c->xAxis());
    s.viewPort->commitPendingSyncAxis(c);
    return c;
}

void render(Session& s) {
    XYChart* c = drawChart(s);
    MemBlock png = c->makeChart(Chart::PNG);
    s.png.assign(png.data ? png.data : "", static_cast<size_t>(png.len > 0 ? png.len : 0));
    s.viewPort->setChartMetrics(c->getChartMetrics());
    s.axisMin = c->xAxis()->getMinValue();
    s.axisMax = c->xAxis()->getMaxValue();
    c->destroy();
}

double param(const std::string& query, const char* key) {
    std::string k = std::string(key) + "=";
    for (size_t at = 0; (at = query.find(k, at)) != std::string::npos; at += k.size())
        if (at == 0 || query[at - 1] == '&') return std::atof(query.c_str() + at + k.size());
    return 0;
}

// Applies one mouse action; the answer is the state a page shows after drawing again.
std::string view(Session& s, const std::string& query) {
    ViewPortManager* v = s.viewPort;
    std::string op = query.substr(3, query.find('&') == std::string::npos ? std::string::npos : query.find('&') - 3);
    bool changed = false;
    int x = static_cast<int>(param(query, "x")), y = static_cast<int>(param(query, "y"));
    if (op == "drag") {
        v->startDrag();
        changed = v->dragTo(Chart::DirectionHorizontal, static_cast<int>(param(query, "dx")),
                            static_cast<int>(param(query, "dy")));
    } else if (op == "wheel") {
        double ratio = param(query, "ratio");
        changed = v->inPlotArea(x, y) && v->zoomAround(x, y, ratio, 1);
    } else if (op == "click") {
        changed = v->inPlotArea(x, y) && v->zoomAt(Chart::DirectionHorizontal, x, y, 2);
    }
    if (changed) render(s);
    char json[512];
    std::snprintf(json, sizeof json,
                  "{\"op\":\"%s\",\"changed\":%s,\"left\":%.17g,\"width\":%.17g,\"plotLeft\":%d,\"plotWidth\":%d,"
                  "\"fullMin\":%.17g,\"fullMax\":%.17g,\"axisMin\":%.17g,\"axisMax\":%.17g}",
                  op.c_str(), changed ? "true" : "false", v->getViewPortLeft(), v->getViewPortWidth(),
                  v->getPlotAreaLeft(), v->getPlotAreaWidth(), v->getCustomAttr("x_min"), v->getCustomAttr("x_max"),
                  s.axisMin, s.axisMax);
    return json;
}

void reply(int client, const char* type, const std::string& body) {
    std::string head = "HTTP/1.1 200 OK\r\nContent-Type: " + std::string(type) +
                       "\r\nCache-Control: no-store\r\nConnection: close\r\nContent-Length: " +
                       std::to_string(body.size()) + "\r\n\r\n";
    std::string all = head + body;
    for (size_t sent = 0; sent < all.size();) {
        ssize_t k = write(client, all.data() + sent, all.size() - sent);
        if (k <= 0) break;
        sent += static_cast<size_t>(k);
    }
}

}  // namespace

int main(int argc, char** argv) {
    Session s;
    RanSeries* random = RanSeries::create(7);
    DoubleArray walk = random->getSeries(1000, 100, -2, 2);
    s.values.assign(walk.data, walk.data + walk.len);
    for (int i = 0; i < walk.len; ++i) s.times.push_back(Chart::chartTime(2020, 1, 1) + 86400.0 * i);
    random->destroy();
    if (argc < 2 || std::strcmp(argv[1], "--serve") != 0) {
        bool ok = true;
        for (const char* name : {"zoom_scroll_chart", "zoom_scroll_chart_last_quarter"}) {
            XYChart* c = drawChart(s);
            for (const char* suffix : {".png", ".svg", ".pdf"})
                ok = c->makeChart((name + std::string(suffix)).c_str()) && ok;
            c->destroy();
            s.viewPort->setViewPortLeft(0.75);
            s.viewPort->setViewPortWidth(0.25);
        }
        s.viewPort->destroy();
        return ok ? 0 : 1;
    }
    render(s);

    int server = socket(AF_INET, SOCK_STREAM, 0);
    int on = 1;
    setsockopt(server, SOL_SOCKET, SO_REUSEADDR, &on, sizeof on);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    address.sin_port = htons(static_cast<uint16_t>(argc > 2 ? std::atoi(argv[2]) : 0));
    socklen_t length = sizeof address;
    if (server < 0 || bind(server, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0 ||
        listen(server, 8) != 0 || getsockname(server, reinterpret_cast<sockaddr*>(&address), &length) != 0) {
        std::perror("zoom_scroll_chart");
        return 1;
    }
    std::printf("http://127.0.0.1:%d/\n", ntohs(address.sin_port));
    std::fflush(stdout);

    for (bool running = true; running;) {
        pollfd waiting{server, POLLIN, 0};
        if (poll(&waiting, 1, 60000) <= 0) break;
        int client = accept(server, nullptr, nullptr);
        if (client < 0) continue;
        char request[4096];
        ssize_t got = read(client, request, sizeof request - 1);
        request[got > 0 ? got : 0] = 0;
        std::string line(request, std::strcspn(request, "\r\n"));
        std::string target =
            line.size() > 4 && line.compare(0, 4, "GET ") == 0 ? line.substr(4, line.find(' ', 4) - 4) : "";
        std::string path = target.substr(0, target.find('?'));
        std::string query = target.find('?') == std::string::npos ? "" : target.substr(target.find('?') + 1);
        if (path == "/") reply(client, "text/html; charset=utf-8", kPage);
        else if (path == "/chart.png") reply(client, "image/png", s.png);
        else if (path == "/view") reply(client, "application/json", view(s, query));
        else if ((running = path != "/quit")) reply(client, "text/plain", "unknown");
        else reply(client, "text/plain", "bye");
        close(client);
    }
    close(server);
    s.viewPort->destroy();
    return 0;
}
