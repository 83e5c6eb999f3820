/* Writes the dashboard, built through the C interface, as dashboard.png, .svg and .pdf in the
   folder given as the only argument. */
#include <stdio.h>
#include <string.h>

#include "dashboard_c.h"

int main(int argc, char** argv) {
    static const char* const kSuffixes[] = {"png", "svg", "pdf"};
    char path[4096];
    int i, ok = 1;
    PvXYChart* c;
    if (argc != 2 || strlen(argv[1]) > sizeof path - 32) {
        fprintf(stderr, "usage: %s folder\n", argv[0]);
        return 2;
    }
    c = buildDashboardC();
    if (!c) return 1;
    for (i = 0; i < 3; ++i) {
        sprintf(path, "%s/dashboard.%s", argv[1], kSuffixes[i]);
        ok = CBaseChart_makeChart(XYChart2BaseChart(c), path) && ok;
    }
    CBaseChart_destroy(XYChart2BaseChart(c));
    return ok ? 0 : 1;
}
