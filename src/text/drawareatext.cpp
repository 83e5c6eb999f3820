// Text on a DrawArea: these wait for the font engine, and draw nothing until then.
#include "draw/drawarea_p.h"

namespace plotvane {

void DrawAreaImpl::text(const char*, const char*, double, int, int, int) {}
void DrawAreaImpl::text(const char*, const char*, int, double, double, double, bool, int, int, int, int) {}
TTFText* DrawAreaImpl::text(const char*, const char*, double) { return nullptr; }
TTFText* DrawAreaImpl::text(const char*, const char*, int, double, double, double, bool) { return nullptr; }
TTFText* DrawAreaImpl::text(const wchar_t*, const char*, int, double, double, double, bool) { return nullptr; }
TTFText* DrawAreaImpl::textEx(const char*, const char*, int, double, double, double, bool, int, int) { return nullptr; }
TTFText* DrawAreaImpl::textEx(const wchar_t*, const char*, int, double, double, double, bool, int, int) {
    return nullptr;
}
void DrawAreaImpl::close(TTFText*) {}

}  // namespace plotvane
