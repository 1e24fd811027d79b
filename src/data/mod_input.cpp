#include "data/mod_input.h"

#include <array>
#include <cmath>
#include <exception>
#include <filesystem>
#include <fstream>
#include <optional>
#include <string_view>
#include <system_error>
#include <utility>

#include "data/item_reader.h"
#include "data/line_fields.h"
#include "platform/checked_arithmetic.h"
#include "platform/numbers.h"

namespace kestavian {

namespace {

constexpr FieldLayout EffectNoField{"EffectNo", 1, 2};
constexpr FieldLayout ValueField{"Value", 3, 10};
constexpr FieldLayout TimeField{"Time", 13, 15};
constexpr FieldLayout DistanceField{"Distance", 28, 10};
constexpr FieldLayout AnnouncedField{"announced trucks", 39, 4};

// The truck line's fields, Data(1) to Data(32).
constexpr std::array<FieldLayout, TruckFieldCount> TruckFields{{
    {"Data(1)", 1, 4},        {"Day", 5, 2},
    {"Month", 7, 2},          {"Year", 9, 2},
    {"Hour", 11, 2},          {"Minute", 13, 2},
    {"Second", 15, 2},        {"Hundredths", 17, 2},
    {"Speed", 19, 3},         {"GrossWeight", 22, 4},
    {"Length", 26, 3},        {"NoAxles", 29, 1},
    {"Data(13)", 30, 1},      {"Direction", 31, 1},
    {"Data(15)", 32, 3},      {"AxleWeight 1", 35, 3},
    {"AxleSpacing 1", 38, 2}, {"AxleWeight 2", 40, 3},
    {"AxleSpacing 2", 43, 2}, {"AxleWeight 3", 45, 3},
    {"AxleSpacing 3", 48, 2}, {"AxleWeight 4", 50, 3},
    {"AxleSpacing 4", 53, 2}, {"AxleWeight 5", 55, 3},
    {"AxleSpacing 5", 58, 2}, {"AxleWeight 6", 60, 3},
    {"AxleSpacing 6", 63, 2}, {"AxleWeight 7", 65, 3},
    {"AxleSpacing 7", 68, 2}, {"AxleWeight 8", 70, 3},
    {"AxleSpacing 8", 73, 2}, {"AxleWeight 9", 75, 3},
}};

// The fields tile columns 1-77 without gaps; a typo in the table above would shift a field.
constexpr bool truckFieldsTile() {
    int next = 1;
    for (const FieldLayout& field : TruckFields) {
        if (field.startColumn != next || field.width < 1)
            return false;
        next += field.width;
    }
    return next == 78;
}
static_assert(truckFieldsTile());
static_assert(TruckFields[Speed - 1].startColumn == 19 &&
              TruckFields[AxleSpacing(8) - 1].width == 2);

// The most an event file can sensibly hold: 32,767 lines of 512 bytes, over six times the widest
// line of the format. Anything larger is not an event file, and holding it whole (three times
// over, with the text box) could exhaust memory.
constexpr std::uintmax_t MaxFileBytes = 32767u * 512u;

// The whole content of a regular file. Anything else (missing, a folder, a device, no
// permission, a read failure, a file larger than MaxFileBytes) is a runtime error.
std::string readWholeFile(const std::string& path) {
    namespace fs = std::filesystem;
    std::error_code ec;
    const fs::file_status status = fs::status(path, ec);
    if (status.type() == fs::file_type::not_found)
        raiseError(ErrorNumber::FileNotFound);
    if (ec)
        raiseError(ErrorNumber::PathFileAccessError);
    // Only a regular file: a FIFO or device could block or never end.
    if (!fs::is_regular_file(status))
        raiseError(ErrorNumber::PathFileAccessError);

    std::ifstream in(path, std::ios::binary);
    if (!in) // an existing regular file that does not open: usually no permission
        raiseError(ErrorNumber::PermissionDenied);
    std::string content;
    const std::uintmax_t size = fs::file_size(path, ec);
    if (!ec && size > MaxFileBytes)
        raiseError(ErrorNumber::PathFileAccessError);
    if (!ec)
        content.reserve(static_cast<std::size_t>(size));

    std::array<char, 1 << 16> chunk{};
    for (;;) {
        in.read(chunk.data(), static_cast<std::streamsize>(chunk.size()));
        content.append(chunk.data(), static_cast<std::size_t>(in.gcount()));
        // Checked as it is read too: the file may grow while it is read.
        if (content.size() > MaxFileBytes)
            raiseError(ErrorNumber::PathFileAccessError);
        if (!in)
            break;
    }
    if (in.bad())
        raiseError(ErrorNumber::PathFileAccessError);
    return content;
}

constexpr bool truckFieldsFitFourDigits() {
    for (const FieldLayout& field : TruckFields)
        if (field.width > 4)
            return false;
    return true;
}

// Nearly every truck line is 77 digits. Its fields are then read straight off them: at most
// four digits each, so the values are the ones the general rules give and always fit.
bool readAllDigitTruckFields(std::string_view line, TruckData& truck) {
    static_assert(truckFieldsFitFourDigits());
    constexpr std::size_t columns = 77;
    if (line.size() < columns)
        return false;
    for (std::size_t i = 0; i < columns; ++i)
        if (line[i] < '0' || line[i] > '9')
            return false;
    std::size_t pos = 0;
    for (std::size_t k = 0; k < TruckFields.size(); ++k) {
        int value = 0;
        for (int digit = 0; digit < TruckFields[k].width; ++digit)
            value = value * 10 + (line[pos++] - '0');
        truck.fields[k] = static_cast<std::int16_t>(value);
    }
    return true;
}

std::string bareFileName(const std::string& path) {
    const std::size_t slash = path.find_last_of("/\\");
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

} // namespace

EffectData ParseEffectLine(const std::string& line, std::int16_t noEvents) {
    EffectData effect;
    effect.EffectNo = readInt16Field(line, EffectNoField);
    effect.Value = readDoubleField(line, ValueField);
    effect.Time = readDoubleField(line, TimeField);
    effect.Distance = readDoubleField(line, DistanceField);
    effect.EventIndex = noEvents;
    return effect;
}

std::int16_t ParseAnnouncedTrucks(const std::string& line) {
    return readInt16Field(line, AnnouncedField);
}

TruckData ParseTruckLine(const std::string& line) {
    TruckData truck;
    if (!readAllDigitTruckFields(line, truck))
        for (int k = 1; k <= TruckFieldCount; ++k)
            truck.Data(k) = readInt16Field(line, TruckFields[static_cast<std::size_t>(k - 1)]);
    truck.SourceLine = line;
    truck.TimeSec = TruckTimeSeconds(truck);
    return truck;
}

double TruckTimeSeconds(const TruckData& truck) {
    // The order is fixed (each product left to right, each new term added to the running
    // total) so that the rounding of every time stamp, and of every time derived from it, is
    // always the same.
    double t = static_cast<double>(truck.Data(Year)) * 250 * 24 * 3600;
    t = static_cast<double>(sub16(truck.Data(Month), 1)) * 25 * 24 * 3600 + t;
    t = static_cast<double>(sub16(truck.Data(Day), 1)) * 24 * 3600 + t;
    t = static_cast<double>(truck.Data(Hour)) * 3600 + t;
    t = static_cast<double>(truck.Data(Minute)) * 60 + t;
    t = static_cast<double>(truck.Data(Second)) + t;
    t = static_cast<double>(truck.Data(Hundredths)) / 100 + t;
    return t;
}

void ParseEventFile(EventStore& store, std::int16_t noEffects, ParseStop* stop) {
    ResetEventStore(store);

    // Nothing in a line says what it is: its kind follows from the counts read so far.
    enum class State { AwaitEvent, AwaitEffect, ReadTrucks };
    State state = State::AwaitEvent;
    EffectData working;
    std::int16_t announced = 0;
    std::int16_t trucksRead = 0;
    std::int16_t effectsBegun = 0;
    // The working effect is complete but waits for the next effect line to be appended.
    bool pending = false;
    long itemNo = 0;

    const auto completeEffect = [&] {
        pending = true;
        if (effectsBegun == noEffects) {
            AddEffect(std::move(working), store.Events(store.NoEvents));
            pending = false;
            effectsBegun = 0;
            state = State::AwaitEvent;
        } else {
            state = State::AwaitEffect;
        }
    };

    try {
        for (const std::string& item : store.FileLines) {
            ++itemNo;
            switch (state) {
            case State::AwaitEvent:
                AddEvent(store, item);
                state = State::AwaitEffect;
                break;
            case State::AwaitEffect:
                if (pending) {
                    AddEffect(std::move(working), store.Events(store.NoEvents));
                    pending = false;
                }
                working = ParseEffectLine(item, store.NoEvents);
                announced = ParseAnnouncedTrucks(item);
                effectsBegun = add16(effectsBegun, 1);
                trucksRead = 0;
                if (announced > 0)
                    state = State::ReadTrucks;
                else
                    completeEffect();
                break;
            case State::ReadTrucks:
                AddTruck(ParseTruckLine(item), working);
                trucksRead = add16(trucksRead, 1);
                if (trucksRead == announced)
                    completeEffect();
                break;
            }
        }
        // A complete effect waiting at the end of the file is kept rather than dropped; only
        // an effect still short of trucks is lost.
        if (pending)
            AddEffect(std::move(working), store.Events(store.NoEvents));
    } catch (const RuntimeError& error) {
        if (stop != nullptr) {
            *stop = ParseStop{};
            stop->item = itemNo;
            stop->number = error.number();
            if (const auto* fieldError = dynamic_cast<const FieldError*>(&error)) {
                stop->field = fieldError->field().name;
                stop->startColumn = fieldError->field().startColumn;
                stop->width = fieldError->field().width;
                stop->text = fieldError->text();
            }
        }
        throw;
    }
}

bool SelectEventFile(Dialogs& dialogs, EventStore& store, std::string& editorText) {
    const std::optional<std::string> chosen =
        dialogs.openFile("Text files|*.txt|All files|*.*", "txt");
    if (!chosen)
        return false;
    store.FileName = *chosen;
    try {
        // The file is read whole and closed before the items are taken, so no path leaves
        // it open.
        const std::string content = readWholeFile(store.FileName);
        editorText.clear();
        editorText.reserve(content.size() + content.size() / 8 + 2);
        store.FileLines.clear();
        ItemReader reader(content);
        std::int16_t count = 0;
        while (const std::optional<std::string_view> item = reader.next()) {
            editorText.append(*item);
            editorText.append("\r\n");
            // The item after the 32767th overflows here, before it reaches FileLines.
            count = add16(count, 1);
            store.FileLines.append(std::string(*item));
        }
        store.FileName = bareFileName(store.FileName);
        return true;
    } catch (const std::exception&) {
        // Also a file too large to hold in memory: the user gets the same message.
        dialogs.messageBox("Unkown error while opening file " + store.FileName, "Kestavian");
        store.FileName.clear();
        return false;
    }
}

std::string SpanTextFromFileName(const std::string& fileName) {
    const std::size_t first = fileName.find('_');
    if (first == std::string::npos)
        return {};
    const std::size_t second = fileName.find('_', first + 1);
    if (second == std::string::npos)
        return {};
    return fileName.substr(first + 1, second - first - 1);
}

std::optional<float> UsableSpan(const std::string& typed) {
    const std::string text = withDecimalPoint(typed);
    if (!isNumeric(text))
        return std::nullopt;
    try {
        const float span = textToSingle(text);
        if (std::isfinite(span) && span > 0.0f)
            return span;
    } catch (const RuntimeError&) {
    }
    return std::nullopt;
}

} // namespace kestavian
