#include "vector/svgbrush_p.h"

#include "draw/imageio_p.h"

namespace plotvane {

namespace {

const char* mediaType(int imageType) {
    switch (imageType) {
        case kImagePNG: return "image/png";
        case kImageGIF: return "image/gif";
        case kImageJPG: return "image/jpeg";
        case kImageBMP: return "image/bmp";
        default: return "image/unknown";
    }
}

// The gradient's geometry, with the half-pixel shift from pixel corners to pixel centres.
void writeGradientTransform(SVGBuilder& b, const VectorPaint& p, double yScale) {
    if (!p.transformed && yScale == 1) return;
    const double* m = p.matrix;
    std::string& to = b.beginAttr("gradientTransform");
    if (!p.transformed) {
        to += "scale(1, ";
        appendNumber(to, yScale, 6, 8);
        to += ')';
    } else {
        // user = T * scale(1, k) * g + 0.5
        double v[6] = {m[0], m[3], m[1] * yScale, m[4] * yScale, m[2] + (p.relative ? 0 : 0.5),
                       m[5] + (p.relative ? 0 : 0.5)};
        to += "matrix(";
        for (int i = 0; i < 6; ++i) {
            if (i) to += ' ';
            appendNumber(to, v[i], 6, 10);
        }
        to += ')';
    }
    b.endAttr();
}

}  // namespace

void svgColorAttrs(SVGBuilder& b, const char* name, uint32_t color) {
    b.color(name, color);
    uint32_t t = color >> 24;
    if (t == 0) return;
    std::string opacity = std::string(name) + "-opacity";
    b.av(opacity.c_str(), (255 - t) / 255.0, 6, 4);
}

void SVGBrush::writeStops(SVGBuilder& b, const VectorPaint& p) {
    double previous = -1;
    for (size_t i = 0; i + 1 < p.stops.size(); i += 2) {
        double offset = p.stops[i] / 256.0;
        if (offset < 0) offset = 0;
        if (offset <= previous) offset = previous + 0.001;  // equal offsets would drop a stop
        if (offset > 1) offset = 1;
        previous = offset;
        uint32_t c = static_cast<uint32_t>(p.stops[i + 1]);
        b.tag("stop").av("offset", offset, 3).color("stop-color", c);
        if (c >> 24) b.av("stop-opacity", (255 - (c >> 24)) / 255.0, 6, 4);
        b.close();
    }
}

long long SVGBrush::getDefinition(const VectorPaint& p) {
    auto it = ids_.find(&p);
    if (it != ids_.end()) return it->second;
    long long id = -1;
    if (p.isGradient()) {
        id = nextId_++;
        SVGBuilder b(defs_);
        double shift = p.relative || p.transformed ? 0 : 0.5;
        if (p.kind == VectorPaint::Linear) {
            b.tag("linearGradient", id)
                .coor("x1", p.x1 + shift)
                .coor("y1", p.y1 + shift)
                .coor("x2", p.x2 + shift)
                .coor("y2", p.y2 + shift);
            writeGradientTransform(b, p, 1);
        } else {
            double k = p.y2 / p.x2;
            b.tag("radialGradient", id).coor("cx", p.x1 + shift).coor("cy", (p.y1 + shift) / k).coor("r", p.x2);
            writeGradientTransform(b, p, k);
        }
        b.av("spreadMethod", p.periodic ? "repeat" : "pad");
        b.av("gradientUnits", p.relative ? "objectBoundingBox" : "userSpaceOnUse");
        writeStops(b, p);
        b.close();
    } else if (p.kind == VectorPaint::Pattern) {
        std::string href;
        const char* type = mediaType(p.imageType);
        if (!p.pixels.empty()) {
            vek::ostrstream png;
            if (encodePNG(png, p.pixels.data(), p.width, p.height)) {
                href = "data:image/png;base64,";
                appendBase64(href, reinterpret_cast<const unsigned char*>(png.data()), static_cast<size_t>(png.tell()));
            }
        }
        if (href.empty() && !p.encoded.empty()) {
            href = std::string("data:") + type + ";base64,";
            appendBase64(href, reinterpret_cast<const unsigned char*>(p.encoded.data()), p.encoded.size());
        }
        if (!href.empty()) {
            id = nextId_++;
            SVGBuilder b(defs_);
            b.tag("pattern", id)
                .av("patternUnits", "userSpaceOnUse")
                .coor("x", p.x1)
                .coor("y", p.y1)
                .av("width", static_cast<long long>(p.width))
                .av("height", static_cast<long long>(p.height));
            b.tag("image").av("width", static_cast<long long>(p.width)).av("height", static_cast<long long>(p.height));
            b.av("xlink:href", href.c_str());
        }
    }
    ids_[&p] = id;
    return id;
}

bool SVGBrush::shadePaint(SVGBuilder& b, const VectorPaint& p, bool stroke, const BrushTable& table, int depth) {
    const char* name = stroke ? "stroke" : "fill";
    switch (p.kind) {
        case VectorPaint::Solid:
            if ((p.color >> 24) == 255) return false;
            svgColorAttrs(b, name, p.color);
            return true;
        case VectorPaint::Linear:
        case VectorPaint::Radial:
        case VectorPaint::Pattern: {
            long long id = getDefinition(p);
            if (id < 0) {
                // A tile that could not be embedded shows its average colour.
                VectorPaint flat;
                flat.kind = VectorPaint::Solid;
                flat.color = averageColor(p.pixels);
                return shadePaint(b, flat, stroke, table, depth);
            }
            b.url(name, id);
            return true;
        }
        case VectorPaint::Dash: {
            if (!stroke) return shadeColor(b, p.colorA, stroke, table, depth + 1);
            if (!shadeColor(b, p.colorA, stroke, table, depth + 1)) return false;
            int on1 = (p.dash >> 24) & 255, off1 = (p.dash >> 16) & 255, on2 = (p.dash >> 8) & 255,
                off2 = p.dash & 255;
            if (on1 + off1 + on2 + off2 == 0) return true;
            b.av("stroke-linecap", "butt");
            std::string& to = b.beginAttr("stroke-dasharray");
            appendInt(to, on1);
            to += ',';
            appendInt(to, off1);
            if (on2 + off2 > 0) {
                to += ',';
                appendInt(to, on2);
                to += ',';
                appendInt(to, off2);
            }
            b.endAttr();
            return true;
        }
        case VectorPaint::Zone:  // painted in two parts by the writer; nested, it shows its first colour
        case VectorPaint::None: break;
    }
    if (p.kind == VectorPaint::Zone) return shadeColor(b, p.colorA, stroke, table, depth + 1);
    return false;
}

bool SVGBrush::shadeColor(SVGBuilder& b, int color, bool stroke, const BrushTable& table, int depth) {
    if (!isDynamicColor(color)) {
        VectorPaint solid;
        solid.kind = VectorPaint::Solid;
        solid.color = static_cast<uint32_t>(color);
        return shadePaint(b, solid, stroke, table, depth);
    }
    const VectorPaint* p = depth < 20 ? table.find(color) : nullptr;  // chains are short; cycles are not
    return p && shadePaint(b, *p, stroke, table, depth);
}

}  // namespace plotvane
