// Marked-up text on a DrawArea: fonts, sizes and colours changing inside one string, line
// breaks, a framed and centred block, symbols and a picture on a line, sub- and superscripts,
// wrapping with truncation, and turned text.
#include <plotvane/plotvane.h>

#include <cstdio>

using namespace plotvane;

int main() {
    DrawArea* d = DrawArea::create();
    d->setSize(640, 420, 0xffffff);

    d->text("<*size=16*>Markup <*color=CC3300*>text<*color=-1*> in <*font=bold*>one<*/font*> string", "arial.ttf", 0,
            10, 10, 0, false, 20, 20, 0x000000);

    d->text("Water is H<*font,sub*>2<*/font*>O, Einstein wrote E = mc<*font,super*>2<*/font*>.<*br*>"
            "<*underline=1*>Underlined<*underline=0*>, <*bgcolor=FFF3A0*>highlighted<*bgcolor=FF000000*> and "
            "<*advance=30*>spaced<*advanceto=360*>| at 360 pixels",
            "arial.ttf", 0, 11, 11, 0, false, 20, 60, 0x202020);

    d->text("Status: <*img=@circle,size=10,color=22AA22*> running  <*img=@triangle,size=10,color=EEAA00*> warning  "
            "<*img=@cross,size=10,color=CC0000*> stopped  <*img=@star(5),size=14,color=3366CC*> favourite",
            "arial.ttf", 0, 10, 10, 0, false, 20, 130, 0x000000);

    d->text("<*block,halign=center,width=260,bgcolor=E8F0FA,edgecolor=336699,margin=8*>"
            "<*size=13,color=336699*>Quarterly summary<*size=10,color=-1*><*br*>"
            "revenue up <*color=008800*>12%<*color=-1*><*br*>costs down <*color=008800*>3%<*/block*>"
            "  <*block,valign=top,maxwidth=220,truncate=3*>A long note that wraps inside its own block and is cut "
            "after three lines, however much more it might have to say about the quarter.<*/*>",
            "arial.ttf", 0, 10, 10, 0, false, 20, 175, 0x000000);

    TTFText* turned = d->text("<*color=993399*>Turned <*font=bold*>30<*/font*> degrees", "arial.ttf", 0, 14, 14, 30,
                              false);
    turned->drawOn(d, 130, 350, 0x000000, Chart::Center);
    d->close(turned);
    TTFText* upward = d->text("Axis title", "arial.ttf", 0, 12, 12, 90, false);
    upward->drawOn(d, 600, 300, 0x000000, Chart::Center);
    d->close(upward);

    bool ok = d->out("markup_text.png") && d->out("markup_text.svg") && d->out("markup_text.pdf") &&
              d->out("markup_text.agf");
    d->destroy();
    if (!ok) std::fprintf(stderr, "markup_text: cannot write the drawing\n");
    return ok ? 0 : 1;
}
