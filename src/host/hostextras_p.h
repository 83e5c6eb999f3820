// Host methods written by hand: pictures in and out, folder items and the shared members that are
// host values rather than library operations. hostclasses.txt declares them.
#pragma once

#include "host/hostsdk.h"

namespace host {

REALpicture makeChartPicture(REALobject self);
REALpicture outPicture(REALobject self);
RBInteger chartPatternColor(REALobject self, REALpicture pic, RBInteger startX, RBInteger startY);
RBInteger drawAreaPatternColor(REALobject self, REALpicture pic, RBInteger startX, RBInteger startY);
void dataSetSymbolPicture(REALobject self, REALpicture pic);
void polarLayerSymbolPicture(REALobject self, REALpicture pic);
void scatterGroupSymbolPicture(REALobject self, REALpicture pic);

REALarray defaultPalette();
REALarray whiteOnBlackPalette();
REALarray transparentPalette();
RBInteger colorToInteger(RBColor c, RBInteger alpha);
void setFontSearchPathFolder(REALfolderItem folder);
REALstring getPath(REALfolderItem item);
double chartTimeOfDate(REALobject date);
double kNoValue();
double kLogTick();
double kDataBound();
double kTickInc();
double kLinearTick();
double kMinorTickOnly();
double kMicroTickOnly();
double kTouchBar();

}  // namespace host
