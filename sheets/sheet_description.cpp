#include "sheets/sheet_description.h"

#include <array>
#include <new>
#include <optional>
#include <string>
#include <string_view>

#include <nlohmann/json.hpp>

namespace quorvel {

namespace {

using Json = nlohmann::ordered_json;

// Deeper than anything the reader looks at; deeper nesting is refused.
constexpr std::size_t kDeepestNesting = 64;
// Field values beyond this magnitude are refused, so sums of two never overflow.
constexpr std::int64_t kLargestMagnitude = std::int64_t{1} << 32;

// The three objects of a frame the reader uses, and their fields in order.
constexpr std::array<std::string_view, 3> kObjects = {"frame", "spriteSourceSize", "sourceSize"};
constexpr std::array<std::array<std::string_view, 4>, 3> kFields = {
    {{"x", "y", "w", "h"}, {"x", "y", "", ""}, {"w", "h", "", ""}}};

// What the file says of one frame, before it is checked.
struct RawFrame {
    std::array<bool, 3> objects{};                                     // which objects were present
    std::array<std::array<std::optional<std::int64_t>, 4>, 3> values;  // their numbers
    bool rotated = false;
};

template <std::size_t N>
int IndexOf(const std::array<std::string_view, N>& names, std::string_view name) {
    for (std::size_t i = 0; i < N; ++i) {
        if (!names[i].empty() && names[i] == name) {
            return static_cast<int>(i);
        }
    }
    return -1;
}

// Reads the parser's events into RawFrames, keeping nothing else. Depth counts the open
// containers: "frames" is a key at depth 1, the frames are at depth 2, their fields at 3 and
// the fields' numbers at 4. Stops at the first fault, with its detail.
class FrameReader {
  public:
    std::vector<RawFrame> frames;
    std::string fault;  // the detail of the first fault
    bool tooMany = false;
    bool framesSeen = false;

    bool null() { return Scalar(std::nullopt); }
    bool boolean(bool value) {
        if (InEntry() && keys_[3] == "rotated") {
            frames.back().rotated = value;
            return true;
        }
        return Scalar(std::nullopt);
    }
    bool number_integer(Json::number_integer_t value) {
        const bool fits = value < kLargestMagnitude && value > -kLargestMagnitude;
        return Scalar(fits ? std::optional<std::int64_t>(value) : std::nullopt);
    }
    bool number_unsigned(Json::number_unsigned_t value) {
        return number_integer(value < std::uint64_t{kLargestMagnitude}
                                  ? static_cast<std::int64_t>(value)
                                  : kLargestMagnitude);
    }
    bool number_float(Json::number_float_t, const Json::string_t&) { return Scalar(std::nullopt); }
    bool string(Json::string_t&) { return Scalar(std::nullopt); }
    bool binary(Json::binary_t&) { return Scalar(std::nullopt); }

    bool start_object(std::size_t) { return Open(true); }
    bool start_array(std::size_t) { return Open(false); }
    bool end_object() { return Close(); }
    bool end_array() { return Close(); }
    bool key(Json::string_t& name) {
        if (depth_ < keys_.size()) {
            keys_[depth_] = name;
        }
        return true;
    }
    bool parse_error(std::size_t, const std::string&, const nlohmann::detail::exception& e) {
        const std::string words = e.what();
        const std::size_t end = words.find("] ");
        return Fail(end == std::string::npos ? words : words.substr(end + 2));
    }

  private:
    // What an open container is. The three objects of a frame follow in kObjects' order.
    enum class Container { Other, Root, Frames, Entry, Frame, SourcePlace, SourceSize };

    bool InFrames() const { return open_[1] == Container::Frames; }
    bool InEntry() const { return depth_ == 3 && open_[2] == Container::Entry; }

    bool Fail(std::string detail) {
        fault = std::move(detail);
        return false;
    }
    std::string Label() const { return "frame " + std::to_string(frames.size() - 1); }

    // A new frame at depth 2, or a fault when it is not an object or one too many.
    bool AddFrame(bool object) {
        if (frames.size() == kMostSheetFrames) {
            tooMany = true;
            return false;
        }
        frames.emplace_back();
        return object || Fail(Label() + " is not an object");
    }

    bool Scalar(std::optional<std::int64_t> number) {
        if (depth_ == 2 && InFrames()) {
            return AddFrame(false);
        }
        if (InEntry()) {
            if (keys_[3] == "rotated") {
                return Fail(Label() + ": \"rotated\" is neither true nor false");
            }
            if (IndexOf(kObjects, keys_[3]) >= 0) {
                return Fail(Label() + " \"" + keys_[3] + "\" is not an object");
            }
            return true;
        }
        if (depth_ == 4 && open_[3] >= Container::Frame) {
            const auto object = static_cast<std::size_t>(static_cast<int>(open_[3]) -
                                                         static_cast<int>(Container::Frame));
            const int field = IndexOf(kFields[object], keys_[4]);
            if (field >= 0 && !number) {
                return Fail(Label() + " \"" + std::string(kObjects[object]) + "\": \"" + keys_[4] +
                            "\" is not a whole number below 2^32");
            }
            if (field >= 0) {
                frames.back().values[object][static_cast<std::size_t>(field)] = number;
            }
        }
        return true;
    }

    bool Open(bool object) {
        if (depth_ == kDeepestNesting) {
            return Fail("the values are nested too deeply");
        }
        Container kind = Container::Other;
        if (depth_ == 0) {
            kind = object ? Container::Root : Container::Other;
        } else if (depth_ == 1 && open_[0] == Container::Root && keys_[1] == "frames" &&
                   !framesSeen) {
            kind = Container::Frames;
            framesSeen = true;
        } else if (depth_ == 2 && InFrames()) {
            if (!AddFrame(object)) {
                return false;
            }
            kind = Container::Entry;
        } else if (InEntry()) {
            const int at = IndexOf(kObjects, keys_[3]);
            if (at >= 0 && !object) {
                return Fail(Label() + " \"" + keys_[3] + "\" is not an object");
            }
            if (at >= 0) {
                frames.back().objects[static_cast<std::size_t>(at)] = true;
                kind = static_cast<Container>(static_cast<int>(Container::Frame) + at);
            } else if (keys_[3] == "rotated") {
                return Fail(Label() + ": \"rotated\" is neither true nor false");
            }
        }
        if (depth_ < open_.size()) {
            open_[depth_] = kind;
        }
        ++depth_;
        return true;
    }

    bool Close() {
        --depth_;
        if (depth_ < open_.size()) {
            open_[depth_] = Container::Other;
        }
        return true;
    }

    std::size_t depth_ = 0;
    std::array<Container, 5> open_{};    // what each open container is, by its depth
    std::array<std::string, 5> keys_{};  // the last key read at each depth
};

}  // namespace

namespace {

std::string Malformed(const std::string& detail) {
    return "it is not a sheet description (" + detail + ")";
}

// The frame as the reader found it, checked: its rectangle complete with sizes that are not
// negative; the place on its canvas (0, 0 when not given) and the canvas (the rectangle's
// size when not given).
Result<SheetFrame> CheckedFrame(const RawFrame& raw, std::size_t n) {
    const std::string where = "frame " + std::to_string(n);
    if (!raw.objects[0]) {
        return Failure{where + " has no \"frame\" object"};
    }
    for (std::size_t i = 0; i < 4; ++i) {
        if (!raw.values[0][i]) {
            return Failure{where + " \"frame\" has no \"" + std::string(kFields[0][i]) + "\""};
        }
    }
    SheetFrame frame;
    frame.x = *raw.values[0][0];
    frame.y = *raw.values[0][1];
    frame.width = *raw.values[0][2];
    frame.height = *raw.values[0][3];
    frame.placeX = raw.values[1][0].value_or(0);
    frame.placeY = raw.values[1][1].value_or(0);
    frame.canvasWidth = raw.values[2][0].value_or(frame.width);
    frame.canvasHeight = raw.values[2][1].value_or(frame.height);
    frame.rotated = raw.rotated;
    if (frame.width < 0 || frame.height < 0 || frame.canvasWidth < 0 || frame.canvasHeight < 0) {
        return Failure{where + " has a negative size"};
    }
    return frame;
}

}  // namespace

Result<std::vector<SheetFrame>> ParseSheetDescription(std::span<const std::uint8_t> text) {
    try {
        FrameReader reader;
        const bool parsed = Json::sax_parse(text.begin(), text.end(), &reader);
        if (reader.tooMany) {
            return Failure{"it describes more than 65,535 frames"};
        }
        if (!parsed) {
            return Failure{Malformed(reader.fault)};
        }
        if (!reader.framesSeen) {
            return Failure{Malformed("it has no \"frames\" array or object")};
        }
        std::vector<SheetFrame> frames;
        frames.reserve(reader.frames.size());
        for (const RawFrame& raw : reader.frames) {
            const Result<SheetFrame> frame = CheckedFrame(raw, frames.size());
            if (!frame) {
                return Failure{Malformed(frame.error())};
            }
            frames.push_back(frame.value());
        }
        return frames;
    } catch (const std::bad_alloc&) {
        return Failure{"there is not enough memory to read it"};
    }
}

}  // namespace quorvel
