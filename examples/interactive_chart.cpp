// An interactive chart: the picture and, in interactive_chart.html, an HTML image map of its bars,
// line points and legend entries. Hovering shows a tool tip built from the map's data-tip
// attributes by a few lines of script; clicking an area shows the parameters of its link.
#include <plotvane/plotvane.h>

#include <cstdio>
#include <string>

using namespace plotvane;

namespace {

const char* kScript = R"(<script>
const tip = document.getElementById("tip");
const out = document.getElementById("clicked");
for (const area of document.querySelectorAll("map area")) {
  area.addEventListener("mousemove", (e) => {
    tip.textContent = area.dataset.tip;
    tip.style.left = e.pageX + 14 + "px";
    tip.style.top = e.pageY + 14 + "px";
    tip.hidden = false;
  });
  area.addEventListener("mouseleave", () => { tip.hidden = true; });
  area.addEventListener("click", (e) => {
    e.preventDefault();
    const link = new URL(area.href);
    const rows = [...link.searchParams].map(([k, v]) => k + " = " + v);
    out.textContent = "Clicked " + link.pathname.split("/").pop() + "\n" + rows.join("\n");
  });
}
</script>)";

}  // namespace

int main() {
    const double revenue[] = {42, 55, 61, 48, 70, 82};
    const double cost[] = {30, 35, 44, 40, 47, 51};
    const double margin[] = {28.6, 36.4, 27.9, 16.7, 32.9, 37.8};
    const char* months[] = {"Jan", "Feb", "Mar", "Apr", "May", "Jun"};

    XYChart* c = XYChart::create(560, 340);
    c->setPlotArea(60, 50, 440, 230, 0xffffff, -1, Chart::Transparent, 0xdddddd);
    c->addLegend(60, 12, false, "", 9)->setBackground(Chart::Transparent);
    c->addLineLayer(DoubleArray(margin, 6), 0xcc3300, "Margin (%)")
        ->getDataSet(0)->setDataSymbol(Chart::CircleSymbol, 9);
    BarLayer* bars = c->addBarLayer(Chart::Side);
    bars->addDataSet(DoubleArray(revenue, 6), 0x6fa8dc, "Revenue");
    bars->addDataSet(DoubleArray(cost, 6), 0xb6d7a8, "Cost");
    c->xAxis()->setLabels(StringArray(months, 6));
    c->yAxis()->setTitle("Thousands");

    bool ok = c->makeChart("interactive_chart.png") && c->makeChart("interactive_chart.svg") &&
              c->makeChart("interactive_chart.pdf");
    std::string map = c->getHTMLImageMap("detail.html", "", "data-tip='{dataSetName} in {xLabel}: {value}'");
    map += c->getLegend()->getHTMLImageMap("series.html", "", "data-tip='Series {dataSetName}'");
    map += c->xAxis()->getHTMLImageMap("month.html", "", "data-tip='All of {label}'");

    if (FILE* f = std::fopen("interactive_chart.html", "w")) {
        std::fprintf(f,
                     "<!DOCTYPE html>\n<html lang=\"en\"><head><meta charset=\"utf-8\"><title>Interactive chart</title>\n"
                     "<style>#tip{position:absolute;background:#ffffe8;border:1px solid #999;padding:2px 6px;"
                     "font:12px sans-serif;pointer-events:none}</style></head><body>\n"
                     "<img src=\"interactive_chart.png\" width=\"%d\" height=\"%d\" usemap=\"#chart\" alt=\"Revenue, cost "
                     "and margin by month\">\n<map name=\"chart\">\n%s</map>\n<div id=\"tip\" hidden></div>\n"
                     "<pre id=\"clicked\"></pre>\n%s\n</body></html>\n",
                     c->getWidth(), c->getHeight(), map.c_str(), kScript);
        ok = std::fclose(f) == 0 && ok;
    } else {
        ok = false;
    }
    c->destroy();
    return ok ? 0 : 1;
}
