#ifndef PLOTVANE_TESTS_CHART_SHAPES_H
#define PLOTVANE_TESTS_CHART_SHAPES_H

// The filled polygons ("Shape" records) of a chart's text dump: fill colour and vertices.

#include <algorithm>
#include <sstream>
#include <string>
#include <vector>

namespace plotvane_test {

struct Vertex {
    double x;
    double y;
};

struct FilledShape {
    std::string fill;  // as the dump writes it: 0xrrggbb, or a name
    std::string edge;  // the first edge's colour
    std::vector<Vertex> vertices;
};

// Each edge is "Line, x1, y1, x2, y2, colour, flag": its start point is the vertex.
inline std::vector<FilledShape> filledShapes(const std::string& dump) {
    std::vector<FilledShape> out;
    std::istringstream in(dump);
    for (std::string line; std::getline(in, line);) {
        if (line.rfind("Shape(", 0) != 0) continue;
        std::vector<std::string> f;
        std::istringstream fields(line.substr(6, line.size() - 7));
        for (std::string s; std::getline(fields, s, ',');) f.push_back(s.substr(s.find_first_not_of(' ')));
        FilledShape shape;
        shape.fill = f[0];
        for (size_t k = 3; k + 6 < f.size(); k += 7) {
            if (f[k] != "Line") break;
            shape.vertices.push_back({std::stod(f[k + 1]), std::stod(f[k + 2])});
            if (shape.edge.empty()) shape.edge = f[k + 5];
        }
        out.push_back(shape);
    }
    return out;
}

// The polygon's y at x on its upper (smallest y) boundary, by scanning its edges.
inline double topAt(const FilledShape& s, double x) {
    double best = 1e300;
    size_t n = s.vertices.size();
    for (size_t k = 0; k < n; ++k) {
        Vertex a = s.vertices[k], b = s.vertices[(k + 1) % n];
        if (x < std::min(a.x, b.x) - 1e-9 || x > std::max(a.x, b.x) + 1e-9) continue;
        double y = a.x == b.x ? std::min(a.y, b.y) : a.y + (b.y - a.y) * (x - a.x) / (b.x - a.x);
        best = std::min(best, y);
    }
    return best;
}

}  // namespace plotvane_test

#endif
