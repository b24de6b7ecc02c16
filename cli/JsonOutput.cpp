#include "cli/JsonOutput.h"

namespace zarvin::cli {

void PrintJson(std::ostream& out, const JsonValue& value) {
    out << value.dump(-1, ' ', false, JsonValue::error_handler_t::replace) << '\n';
}

JsonValue ProfileJson(int index) { return JsonValue{{"profile", index + 1}, {"index", index}}; }

JsonValue KeyJson(KeyCode code, const TextLookup& texts) {
    return JsonValue{{"name", KeyNameOf(code, texts)}, {"code", code}};
}

JsonValue ErrorJson(const std::string& message) { return JsonValue{{"error", message}}; }

}  // namespace zarvin::cli
