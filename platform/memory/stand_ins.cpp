#include "platform/memory/stand_ins.h"

#include "platform/consent_dialog.h"
#include "platform/memory/journal.h"
#include "platform/memory/memory_registry.h"
#include "platform/notice.h"
#include "platform/startup.h"
#include "platform/zone_mappings.h"

namespace {

// The journal keeps what a person would read as UTF-8, whatever the code page.
std::string Utf8(const char16_t* text) {
  std::string utf8;
  for (; *text != u'\0'; ++text) {
    char32_t code = *text;
    if (code >= 0xD800 && code <= 0xDBFF && text[1] >= 0xDC00 && text[1] <= 0xDFFF) {
      code = 0x10000 + ((code - 0xD800) << 10) + (*++text - 0xDC00);
    }
    if (code < 0x80) {
      utf8 += static_cast<char>(code);
    } else if (code < 0x800) {
      utf8 += static_cast<char>(0xC0 | code >> 6);
      utf8 += static_cast<char>(0x80 | (code & 0x3F));
    } else if (code < 0x10000) {
      utf8 += static_cast<char>(0xE0 | code >> 12);
      utf8 += static_cast<char>(0x80 | (code >> 6 & 0x3F));
      utf8 += static_cast<char>(0x80 | (code & 0x3F));
    } else {
      utf8 += static_cast<char>(0xF0 | code >> 18);
      utf8 += static_cast<char>(0x80 | (code >> 12 & 0x3F));
      utf8 += static_cast<char>(0x80 | (code >> 6 & 0x3F));
      utf8 += static_cast<char>(0x80 | (code & 0x3F));
    }
  }
  return utf8;
}

}  // namespace

std::vector<std::string>& Journal() {
  static std::vector<std::string> journal;
  return journal;
}

StandInScript& Script() {
  static StandInScript script;
  return script;
}

void ResetStandIns() {
  Journal().clear();
  TestRegistry().Reset();
  Script() = StandInScript();
}

bool InitializeFramework() {
  Journal().push_back("framework init");
  return Script().framework_starts;
}

void InitializeCom() { Journal().push_back("com init"); }

void ShowCompletionNotice(const char16_t* text) { Journal().push_back("notice " + Utf8(text)); }

void ShowFailureNotice(const char16_t* text) { Journal().push_back("failure notice " + Utf8(text)); }

COrvantaRegRequest::COrvantaRegRequest(void* parent) {
  Journal().push_back(parent ? "dialog constructed with parent" : "dialog constructed");
}

COrvantaRegRequest::~COrvantaRegRequest() { Journal().push_back("dialog destroyed"); }

std::intptr_t COrvantaRegRequest::DoModal() {
  Journal().push_back("dialog shown");
  return Script().consent_result;
}

HResult VisitZoneMappings(std::uint32_t zone, MappingVisitor visit, void* context) {
  Journal().push_back("mappings of zone " + std::to_string(zone));
  if (Script().mapping_query_status < 0) return Script().mapping_query_status;
  for (const std::optional<std::u16string>& pattern : Script().trusted_mappings) {
    if (visit(pattern ? pattern->c_str() : nullptr, context)) break;
  }
  return Script().mapping_query_status;
}
