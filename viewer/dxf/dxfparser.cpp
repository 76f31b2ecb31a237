#include "viewer/dxf/dxfparser.h"

#include <array>
#include <new>
#include <string>

#include "viewer/dxf/groupreader.h"

namespace dxf {
namespace {

[[noreturn]] void Fail(std::size_t line, std::string what) { throw ParseError(Error{line, std::move(what)}); }

bool IsBlank(std::string_view text) { return text.find_first_not_of(" \t\r\n") == std::string_view::npos; }

// Collects the corner coordinates of one 3DFACE, group by group.
class FaceBuilder {
public:
    explicit FaceBuilder(std::size_t startLine) : startLine_(startLine) {}

    void Take(const Group& group) {
        if (group.code == 62) {
            face_.colour = group.Integer();
            return;
        }
        const int axis = group.code / 10 - 1;  // 10.. x, 20.. y, 30.. z
        const int corner = group.code % 10;
        if (axis < 0 || axis > 2 || corner > 3) return;  // layer, flags and the like
        Point& point = face_.corners[corner];
        (axis == 0 ? point.x : axis == 1 ? point.y : point.z) = group.Real();
        seen_[corner][axis] = true;
    }

    // The face, once its corners are known. A missing z is 0; a missing
    // fourth corner repeats the third, as for a triangle.
    Face Finish() {
        for (int corner = 0; corner < 4; ++corner) {
            const auto& seen = seen_[corner];
            const bool any = seen[0] || seen[1] || seen[2];
            if (corner == 3 && !any) {
                face_.corners[3] = face_.corners[2];
            } else if (!seen[0] || !seen[1]) {
                Fail(startLine_, "the 3DFACE has no corner " + std::to_string(corner + 1) + " (groups 1" +
                                     std::to_string(corner) + " and 2" + std::to_string(corner) + ")");
            }
        }
        return face_;
    }

private:
    std::size_t startLine_;
    Face face_;
    std::array<std::array<bool, 3>, 4> seen_{};
};

class Parser {
public:
    Parser(std::string_view text, const Limits& limits) : text_(text), reader_(text), limits_(limits) {}

    Model Run() {
        if (IsBlank(text_)) Fail(0, "the file is empty");
        if (text_.starts_with("AutoCAD Binary DXF")) Fail(0, "binary DXF files cannot be shown, only text ones");
        // Every step below ends on the group that starts the next record.
        auto group = SkipRest(reader_.Next());
        while (group) {
            const Group start = *group;
            const std::string_view type = start.Text();
            if (type == "EOF") return std::move(model_);
            if (type == "SECTION") {
                group = ReadSection();
            } else if (type == "3DFACE" && section_ != "BLOCKS") {
                group = ReadFace(start);
            } else {
                if (type == "ENDSEC") section_.clear();
                group = SkipRest(reader_.Next());
            }
        }
        Fail(reader_.line(), "the file ends before its EOF marker: it is incomplete");
    }

private:
    // Passes over the rest of a record, up to the group with code 0 that
    // starts the next one.
    std::optional<Group> SkipRest(std::optional<Group> group) {
        while (group && group->code != 0) group = reader_.Next();
        return group;
    }

    std::optional<Group> ReadSection() {
        auto group = reader_.Next();
        section_ = group && group->code == 2 ? std::string(group->Text()) : std::string();
        return SkipRest(group);
    }

    std::optional<Group> ReadFace(const Group& start) {
        // The line that names the entity, as a person reading the file sees it.
        const std::size_t faceLine = start.line + 1;
        FaceBuilder builder(faceLine);
        auto group = reader_.Next();
        for (; group && group->code != 0; group = reader_.Next()) builder.Take(*group);
        if (!group) {
            Fail(reader_.line(),
                 "the file ends inside the 3DFACE of line " + std::to_string(faceLine) + ": it is incomplete");
        }
        if (model_.faces.size() >= limits_.maxFaces) {
            Fail(faceLine, "more than " + std::to_string(limits_.maxFaces) + " faces: too many to show");
        }
        model_.faces.push_back(builder.Finish());
        return group;
    }

    std::string_view text_;
    GroupReader reader_;
    Limits limits_;
    Model model_;
    std::string section_;
};

}  // namespace

ParseResult ParseDxf(std::string_view text, const Limits& limits) {
    ParseResult result;
    try {
        result.model = Parser(text, limits).Run();
    } catch (const ParseError& failure) {
        result.error = failure.error();
    } catch (const std::bad_alloc&) {
        result.error = Error{0, "not enough memory to read the drawing"};
    }
    return result;
}

}  // namespace dxf
