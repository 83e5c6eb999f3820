#ifndef PLOTVANE_DRAW_METABRUSH_P_H
#define PLOTVANE_DRAW_METABRUSH_P_H

// The recorder side of a dynamic colour: the arguments of its definition record, kept until the
// colour is first drawn with. A brush's colours (its base colours and gradient stop colours) may
// be palette entries or other brushes, so they are resolved again at every use, and the record
// is written again only when what they resolve to has changed.

#include <cstdint>
#include <vector>

namespace plotvane {

class MetaDraw;
class ZoneSplitter;

class MetaBrush {
public:
    MetaBrush(uint32_t opcode, int id);
    virtual ~MetaBrush() = default;
    MetaBrush(const MetaBrush&) = delete;
    MetaBrush& operator=(const MetaBrush&) = delete;
    void destroy() { delete this; }

    int id() const { return id_; }
    uint32_t opcode() const { return opcode_; }
    // Writes the definition into root's recording unless an identical one is already there.
    void resolve(MetaDraw& root);
    // The recording was cut back to `index`: a definition written there or later is gone.
    void forgetFrom(int index);

    // Arguments in record order (the id is the first and is added by the constructor).
    MetaBrush& color(int c);
    MetaBrush& i(int v);
    MetaBrush& b(bool v);
    MetaBrush& d(double v);
    MetaBrush& ints(const std::vector<int>& v);
    // (position, colour) pairs: the colours are resolved at use.
    MetaBrush& stops(const std::vector<int>& v);
    MetaBrush& s(const char* text);

    static MetaBrush* dashLine(int id, int color, int pattern);
    static MetaBrush* brightnessAdjustment(int id, int base, double factor);
    static MetaBrush* brushedTexture(int id, int base, int width);
    static MetaBrush* relativeLinearGradient(int id, const double xy[4], bool periodic, const std::vector<int>& stops);
    static MetaBrush* relativeLinearLighting(int id, int base, const double xy[4], const std::vector<int>& table);

protected:
    // Called before each resolve; returns true when the arguments changed.
    virtual bool refresh() { return false; }
    std::vector<uint32_t> words_;

private:
    uint32_t opcode_;
    int id_;
    std::vector<int> colorSlots_;
    std::vector<int> resolved_;
    int writtenAt_ = -1;
};

// Two colours split at a position, in a direction and an order known only when the colour is
// drawn with.
class MetaXYZoneBrush : public MetaBrush {
public:
    MetaXYZoneBrush(int id, const ZoneSplitter* split, int colorA, int colorB);

protected:
    bool refresh() override;

private:
    const ZoneSplitter* split_;
    int colors_[2];  // as given; the record holds them in the order the split asks for
};

// A colour table laid over a plane: the colour at (x, y) is the table's at z = a*x + b*y + c,
// with zLow at position 0 and zHigh at 256. transform() moves the plane; the next use writes the
// definition again, so one id colours facet after facet of a surface.
class MetaZColorBrush : public MetaBrush {
public:
    MetaZColorBrush(int id, const std::vector<int>& stops, double zLow, double zHigh);
    void transform(double a, double b, double c);

protected:
    bool refresh() override;

private:
    double zLow_, scale_;
    double plane_[3] = {0, 0, 0};
    bool moved_ = false;
};

}  // namespace plotvane

#endif
