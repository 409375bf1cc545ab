#include "platform/memory/stand_ins.h"

#include "platform/consent_dialog.h"
#include "platform/memory/journal.h"
#include "platform/memory/memory_registry.h"
#include "platform/notice.h"
#include "platform/startup.h"
#include "platform/zone_mappings.h"

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

void ShowCompletionNotice(const char* text) { Journal().push_back(std::string("notice ") + text); }

COrvantaRegRequest::COrvantaRegRequest(void* parent) {
  Journal().push_back(parent ? "dialog constructed with parent" : "dialog constructed");
}

COrvantaRegRequest::~COrvantaRegRequest() { Journal().push_back("dialog destroyed"); }

std::intptr_t COrvantaRegRequest::DoModal() {
  Journal().push_back("dialog shown");
  return Script().consent_result;
}

HResult VisitZoneMappings(std::uint32_t zone, const MappingVisitor& visit) {
  Journal().push_back("mappings of zone " + std::to_string(zone));
  if (Script().mapping_query_status < 0) return Script().mapping_query_status;
  for (const std::optional<std::u16string>& pattern : Script().trusted_mappings) {
    if (visit(pattern ? pattern->c_str() : nullptr)) break;
  }
  return Script().mapping_query_status;
}
