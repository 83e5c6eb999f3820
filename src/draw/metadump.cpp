// The text dump of a recording (".agf"): one line per record, "Name(arg, arg, ...)". It reads
// the stream with the same signatures the recorder writes by, so it shows exactly what was
// recorded, including records that no back-end would draw:
//   i "%d"; b true/false; d "%.20g" (C locale); x a colour, palette references by name;
//   s, w quoted with C-style escapes (wide text as UTF-8); D, I, X in square brackets.
// "DefineSymbol" is followed by the symbol's own dump and "EndDefineSymbol(id)". Records that
// cannot be read become comments, and the dump goes on with the next one.

#include <algorithm>
#include <charconv>
#include <cstdio>
#include <string>
#include <vector>

#include "draw/drawarea_p.h"
#include "draw/glyph_p.h"
#include "draw/graphicsstream_p.h"
#include "draw/largeobj_p.h"
#include "draw/metareplay_p.h"
#include "draw/opcodes_p.h"

namespace plotvane {

std::string colorText(uint32_t color) {
    if (color == 0xff000000u) return "Chart.Transparent";
    if ((color >> 16) == 0xffffu) {
        int n = static_cast<int>(color & 0xffff);
        switch (n) {
            case 0: return "Chart.BackgroundColor";
            case 1: return "Chart.LineColor";
            case 2: return "Chart.TextColor";
            case 4:
            case 5:
            case 6: return "Chart.ContextColor" + std::to_string(n - 4);
            case 7: return "Chart.SameAsMainColor";
            default: return "Chart.DataColor + " + std::to_string(n - 8);
        }
    }
    char text[16];
    std::snprintf(text, sizeof text, "0x%06x", color);
    return text;
}

namespace {

void appendUtf8(std::string& out, uint32_t cp) {
    if (cp < 0x80) {
        out += static_cast<char>(cp);
    } else if (cp < 0x800) {
        out += static_cast<char>(0xc0 | (cp >> 6));
        out += static_cast<char>(0x80 | (cp & 0x3f));
    } else if (cp < 0x10000) {
        out += static_cast<char>(0xe0 | (cp >> 12));
        out += static_cast<char>(0x80 | ((cp >> 6) & 0x3f));
        out += static_cast<char>(0x80 | (cp & 0x3f));
    } else {
        out += static_cast<char>(0xf0 | (cp >> 18));
        out += static_cast<char>(0x80 | ((cp >> 12) & 0x3f));
        out += static_cast<char>(0x80 | ((cp >> 6) & 0x3f));
        out += static_cast<char>(0x80 | (cp & 0x3f));
    }
}

// Appends one character of a quoted string (code points; bytes of narrow strings pass through).
void appendQuotedChar(std::string& out, uint32_t cp) {
    if (cp == '"') {
        out += "\\\"";
    } else if (cp == '\n') {
        out += "\\n";
    } else if (cp < 32) {
        char hex[8];
        std::snprintf(hex, sizeof hex, "\\x%02x", cp);
        out += hex;
    } else {
        appendUtf8(out, cp);
    }
}

std::string quoted(const std::string& bytes) {
    std::string out = "\"";
    for (unsigned char c : bytes) {
        if (c < 32 || c == '"') appendQuotedChar(out, c);
        else out += static_cast<char>(c);
    }
    return out + "\"";
}

std::string quoted(const std::u16string& units) {
    std::string out = "\"";
    for (size_t k = 0; k < units.size(); ++k) {
        uint32_t cp = units[k];
        if (cp >= 0xd800 && cp < 0xdc00 && k + 1 < units.size() && units[k + 1] >= 0xdc00 && units[k + 1] < 0xe000)
            cp = 0x10000 + ((cp - 0xd800) << 10) + (units[++k] - 0xdc00);
        appendQuotedChar(out, cp);
    }
    return out + "\"";
}

std::string doubleText(double v) {
    char text[64];
    auto result = std::to_chars(text, text + sizeof text, v, std::chars_format::general, 20);
    return std::string(text, result.ptr);
}

class Line {
public:
    explicit Line(const char* name) : text_(name) { text_ += '('; }
    void arg(const std::string& a) {
        if (count_++) text_ += ", ";
        text_ += a;
    }
    std::string finish() { return text_ + ")\n"; }

private:
    std::string text_;
    int count_ = 0;
};

// Reads one argument by its signature letter; false for a letter it does not know.
bool dumpArg(char letter, RecordReader& r, Line& line) {
    switch (letter) {
        case 'i': line.arg(std::to_string(r.i())); break;
        case 'b': line.arg(r.b() ? "true" : "false"); break;
        case 'x': line.arg(colorText(r.word())); break;
        case 'd': line.arg(doubleText(r.d())); break;
        case 's': line.arg(quoted(r.s())); break;
        case 'w': line.arg(quoted(r.w())); break;
        case 'D': {
            std::string list = "[";
            std::vector<double> v = r.doubles();
            for (size_t k = 0; k < v.size(); ++k) list += (k ? ", " : "") + doubleText(v[k]);
            line.arg(list + "]");
            break;
        }
        case 'I':
        case 'X': {
            std::string list = "[";
            std::vector<int> v = r.ints();
            for (size_t k = 0; k < v.size(); ++k)
                list += (k ? ", " : "") + (letter == 'I' ? std::to_string(v[k]) : colorText(static_cast<uint32_t>(v[k])));
            line.arg(list + "]");
            break;
        }
        default: return false;
    }
    return true;
}

bool dumpArgs(const char* signature, RecordReader& r, Line& line) {
    for (const char* p = signature; *p && r.ok(); ++p)
        if (!dumpArg(*p, r, line)) return false;
    return true;
}

std::string glyphText(const GlyphContainer& glyphs) {
    std::string out = "\"";
    for (int k = 0; k < glyphs.size(); ++k) appendQuotedChar(out, static_cast<uint32_t>(glyphs[k].ch));
    return out + "\"";
}

class Dumper {
public:
    Dumper(const LargeObjContainer& objects, vek::ostream& out) : objects_(objects), out_(out) {}

    void record(uint32_t op, RecordReader& r) {
        const OpInfo* info = findOp(op);
        if (!info) return comment(skipMessage("Unknown OpCode", op, r.remaining()));
        Line line(info->name);
        const char* problem = nullptr;
        switch (op) {
            case kOpMultiLine: problem = multiLine(r, line); break;
            case kOpShape: problem = shape(r, line); break;
            case kOpText: text(r, line, "iiiix"); break;
            case kOpTurnedText: text(r, line, "iiiixi"); break;
            case kOpDefineSymbol: return defineSymbol(r, line);
            default:
                if (!dumpArgs(info->signature, r, line)) problem = "Don't know how to handle variable arguments for OpCode";
        }
        if (problem) return comment(skipMessage(problem, op, r.remaining()));
        if (!r.ok()) {
            std::string message = std::string("Insufficient input when reading format list ") + info->signature;
            return comment(skipMessage(message.c_str(), op, r.remaining()));
        }
        out_ << line.finish().c_str();
        if (r.remaining() > 0) comment(skipMessage("Extra bytes following OpCode", op, r.remaining()));
    }

private:
    void comment(const std::string& text) { out_ << ("/* " + text + "*/\n").c_str(); }

    const char* multiLine(RecordReader& r, Line& line) {
        while (r.ok() && r.remaining() > 0) {
            uint32_t kind = r.word();
            if (kind > kLinePoint) return "Unknown path type";
            line.arg(kind == kLineStyle ? "style" : "coor");
            dumpArgs(kind == kLineStyle ? "xi" : "dd", r, line);
        }
        return nullptr;
    }

    const char* shape(RecordReader& r, Line& line) {
        dumpArgs("xbb", r, line);
        while (r.ok() && r.remaining() > 0) {
            uint32_t kind = r.word();
            const char* name = pathItemName(kind);
            if (!name) return "Unknown path type";
            line.arg(name);
            dumpArgs(pathItemSignature(kind), r, line);
        }
        return nullptr;
    }

    void text(RecordReader& r, Line& line, const char* signature) {
        const LargeObj* obj = objects_.get(r.i());
        line.arg(obj && obj->glyphs ? glyphText(*obj->glyphs) : "null");
        dumpArgs(signature, r, line);
    }

    void defineSymbol(RecordReader& r, Line& line) {
        int id = r.i();
        if (!r.ok()) return comment(skipMessage("Insufficient input when reading format list i", kOpDefineSymbol, 0));
        line.arg(std::to_string(id));
        out_ << line.finish().c_str();
        const LargeObj* obj = objects_.get(id);
        if (obj && obj->area) obj->area->meta()->outMeta(out_);
        out_ << ("EndDefineSymbol(" + std::to_string(id) + ")\n").c_str();
    }

    const LargeObjContainer& objects_;
    vek::ostream& out_;
};

}  // namespace

void dumpRecords(const uint32_t* words, int from, int to, const LargeObjContainer& objects, vek::ostream& out) {
    Dumper dumper(objects, out);
    int pos = std::max(from, 0);
    while (pos + 2 <= to) {
        int length = static_cast<int>(words[pos]);
        uint32_t op = words[pos + 1];
        if (length < 2 || length > to - pos) {
            out << ("/* " + skipMessage("Unknown OpCode", op, to - pos - 2) + "*/\n").c_str();
            break;
        }
        RecordReader r(words + pos + 2, length - 2);
        dumper.record(op, r);
        pos += length;
    }
}

}  // namespace plotvane
