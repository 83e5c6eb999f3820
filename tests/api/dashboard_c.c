/* Builds the dashboard, the pie and the gauge through the C interface and writes each as
   <name>.png, .svg and .pdf in the folder given as the only argument, with the dashboard's image
   map (the chart's, then its line layer's shifted by 5, 7) as dashboard.map. */
#include <stdio.h>
#include <string.h>

#include "dashboard_c.h"
#include "gauge_c.h"
#include "pie_c.h"

static const char* gFolder;

static int writeCharts(PvBaseChart* c, const char* name) {
    static const char* const kSuffixes[] = {"png", "svg", "pdf"};
    char path[4096];
    int i, ok = c != NULL;
    for (i = 0; ok && i < 3; ++i) {
        sprintf(path, "%s/%s.%s", gFolder, name, kSuffixes[i]);
        ok = CBaseChart_makeChart(c, path);
    }
    return ok;
}

static int writeMap(PvXYChart* c) {
    char path[4096];
    const char* map;
    int ok;
    FILE* f;
    sprintf(path, "%s/dashboard.map", gFolder);
    f = fopen(path, "wb");
    if (!f) return 0;
    /* Each text is written before the next is asked for, which may reuse its storage. */
    map = CBaseChart_getHTMLImageMap(XYChart2BaseChart(c), "detail.html", "?x={x}&amp;v={value}",
                                     "title='{dataSetName}'", 0, 0);
    ok = map && *map && fputs(map, f) >= 0;
    map = CLayer_getHTMLImageMap(CXYChart_getLayer(c, 0), "line.html", "", "", 5, 7);
    ok = ok && map && *map && fputs(map, f) >= 0;
    return fclose(f) == 0 && ok;
}

int main(int argc, char** argv) {
    int ok;
    PvXYChart* dashboard;
    PvPieChart* pie;
    PvAngularMeter* gauge;
    if (argc != 2 || strlen(argv[1]) > 4000) {
        fprintf(stderr, "usage: %s folder\n", argv[0]);
        return 2;
    }
    gFolder = argv[1];
    dashboard = buildDashboardC();
    pie = buildPieC();
    gauge = buildGaugeC();
    ok = writeCharts(XYChart2BaseChart(dashboard), "dashboard") && writeMap(dashboard);
    ok = writeCharts(PieChart2BaseChart(pie), "pie") && ok;
    ok = writeCharts(BaseMeter2BaseChart(AngularMeter2BaseMeter(gauge)), "gauge") && ok;
    CBaseChart_destroy(XYChart2BaseChart(dashboard));
    CBaseChart_destroy(PieChart2BaseChart(pie));
    CBaseChart_destroy(BaseMeter2BaseChart(AngularMeter2BaseMeter(gauge)));
    return ok ? 0 : 1;
}
