#include "vector/pdfdocument_p.h"


#include <algorithm>
#include <cstdio>

#include "vector/gzip_p.h"
#include "vector/vectornum_p.h"

namespace plotvane {

PDFDocument::PDFDocument() : objects_(1) { resources_ = reserve(); }

int PDFDocument::reserve() {
    objects_.emplace_back();
    return static_cast<int>(objects_.size()) - 1;
}

PDFDocument::Obj& PDFDocument::at(int num) {
    if (num <= 0 || static_cast<size_t>(num) >= objects_.size()) num = reserve();
    return objects_[static_cast<size_t>(num)];
}

void PDFDocument::setObject(int num, std::string dict) {
    Obj& o = at(num);
    o.dict = std::move(dict);
    o.isSet = true;
}

void PDFDocument::setStream(int num, std::string dict, const std::string& data) {
    std::string packed;
    if (data.size() > 30 && zlibCompress(data.data(), data.size(), packed, Deflate::Fast)) {
        setRawStream(num, std::move(dict), std::move(packed), true);
        return;
    }
    setRawStream(num, std::move(dict), data, false);
}

void PDFDocument::setRawStream(int num, std::string dict, std::string data, bool compressed) {
    Obj& o = at(num);
    o.dict = std::move(dict);
    o.stream = std::move(data);
    o.isSet = o.isStream = true;
    o.compressed = compressed;
}

int PDFDocument::addObject(std::string dict) {
    int num = reserve();
    setObject(num, std::move(dict));
    return num;
}

int PDFDocument::addStream(std::string dict, const std::string& data) {
    int num = reserve();
    setStream(num, std::move(dict), data);
    return num;
}

void PDFDocument::addResource(Resource kind, int num) {
    std::vector<int>& list = used_[kind];
    if (std::find(list.begin(), list.end(), num) == list.end()) list.push_back(num);
}

void PDFDocument::write(vek::ostream& out, int catalog, int info) {
    static const char* const kNames[4][2] = {{"/XObject<<", "/X"}, {"/ExtGState<<", "/G"}, {"/Pattern<<", "/P"},
                                             {"/Font<<", "/F"}};
    std::string res = "/ProcSet[/PDF /Text /ImageB /ImageC]";
    for (int kind = 0; kind < 4; ++kind) {
        if (used_[kind].empty()) continue;
        res += kNames[kind][0];
        for (int num : used_[kind]) {
            res += kNames[kind][1];
            appendInt(res, num);
            res += ' ';
            appendInt(res, num);
            res += " 0 R";
        }
        res += ">>";
    }
    setObject(resources_, std::move(res));

    std::string text = "%PDF-1.4\n";
    std::vector<long long> offsets(objects_.size(), -1);
    long long written = 0;
    auto flush = [&] {
        out.write(text.data(), static_cast<int>(text.size()));
        written += static_cast<long long>(text.size());
        text.clear();
    };
    for (size_t num = 1; num < objects_.size(); ++num) {
        Obj& o = objects_[num];
        if (!o.isSet) continue;
        offsets[num] = written + static_cast<long long>(text.size());
        appendInt(text, static_cast<long long>(num));
        text += " 0 obj\n<<";
        text += o.dict;
        if (o.isStream) {
            if (o.compressed) text += "/Filter/FlateDecode";
            text += "/Length ";
            appendInt(text, static_cast<long long>(o.stream.size()));
            text += ">>\nstream\n";
            flush();
            out.write(o.stream.data(), static_cast<int>(o.stream.size()));
            written += static_cast<long long>(o.stream.size());
            std::string().swap(o.stream);
            text += "\nendstream\n";
        } else {
            text += ">>\n";
        }
        text += "endobj\n";
    }
    long long xref = written + static_cast<long long>(text.size());
    text += "xref\n0 ";
    appendInt(text, static_cast<long long>(objects_.size()));
    text += '\n';
    char entry[40];
    for (size_t num = 0; num < objects_.size(); ++num) {
        if (offsets[num] < 0)
            text += "0000000000 65535 f \n";
        else {
            std::snprintf(entry, sizeof entry, "%010lld 00000 n \n", offsets[num]);
            text += entry;
        }
    }
    text += "trailer\n<<\n/Size ";
    appendInt(text, static_cast<long long>(objects_.size()));
    text += "\n/Root ";
    appendInt(text, catalog);
    text += " 0 R\n/Info ";
    appendInt(text, info);
    text += " 0 R\n>>\nstartxref\n";
    appendInt(text, xref);
    text += "\n%%EOF";
    flush();
}

}  // namespace plotvane
