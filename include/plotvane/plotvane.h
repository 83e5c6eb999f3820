#ifndef PLOTVANE_PLOTVANE_H
#define PLOTVANE_PLOTVANE_H

// Everything the library offers.
#include <plotvane/arealayer.h>
#include <plotvane/arraymath.h>
#include <plotvane/arrays.h>
#include <plotvane/axis.h>
#include <plotvane/barlayer.h>
#include <plotvane/basechart.h>
#include <plotvane/boxlayer.h>
#include <plotvane/chart.h>
#include <plotvane/coloraxis.h>
#include <plotvane/constants.h>
#include <plotvane/contourlayer.h>
#include <plotvane/drawarea.h>
#include <plotvane/drawobj.h>
#include <plotvane/financechart.h>
#include <plotvane/imagemaphandler.h>
#include <plotvane/layer.h>
#include <plotvane/legendbox.h>
#include <plotvane/linelayer.h>
#include <plotvane/meter.h>
#include <plotvane/multichart.h>
#include <plotvane/mutex.h>
#include <plotvane/ostrstream.h>
#include <plotvane/owned.h>
#include <plotvane/piechart.h>
#include <plotvane/polarchart.h>
#include <plotvane/pvmltable.h>
#include <plotvane/pyramidchart.h>
#include <plotvane/randomdata.h>
#include <plotvane/threedchart.h>
#include <plotvane/trendlayer.h>
#include <plotvane/ttftext.h>
#include <plotvane/vectorlayer.h>
#include <plotvane/viewportmanager.h>
#include <plotvane/xychart.h>

#endif
