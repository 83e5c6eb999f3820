#ifndef PLOTVANE_VECTOR_PDFDOCUMENT_P_H
#define PLOTVANE_VECTOR_PDFDOCUMENT_P_H

// A PDF file being assembled: numbered objects (each a dictionary, optionally with a stream), the
// one resource dictionary that every content stream of the document shares, and the writer of the
// file with its cross-reference table.

#include <plotvane/ostrstream.h>

#include <string>
#include <vector>

namespace plotvane {

class PDFDocument {
public:
    enum Resource { XObject, ExtGState, Pattern, Font };

    PDFDocument();
    // A new object number; its object is set later (unset numbers are written as free entries).
    int reserve();
    // `dict` is the dictionary's inside (without << >>).
    void setObject(int num, std::string dict);
    // A stream object; streams longer than 30 bytes are zlib-compressed when that works.
    void setStream(int num, std::string dict, const std::string& data);
    // A stream whose bytes are already zlib-compressed (or stored, when `compressed` is false).
    void setRawStream(int num, std::string dict, std::string data, bool compressed);
    int addObject(std::string dict);
    int addStream(std::string dict, const std::string& data);

    // Lists an object in the shared resources as /X, /G, /P or /F followed by its number.
    void addResource(Resource kind, int num);
    int resourcesNumber() const { return resources_; }
    bool hasResources(Resource kind) const { return !used_[kind].empty(); }

    // Writes the whole file; `catalog` and `info` name the trailer's objects.
    void write(vek::ostream& out, int catalog, int info);

private:
    struct Obj {
        std::string dict;
        std::string stream;
        bool isSet = false, isStream = false, compressed = false;
    };
    Obj& at(int num);
    std::vector<Obj> objects_;  // index = object number; 0 is never an object
    std::vector<int> used_[4];
    int resources_;
};

}  // namespace plotvane

#endif
