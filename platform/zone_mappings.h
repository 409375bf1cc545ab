#pragma once

#include <cstdint>

using HResult = std::int32_t;

// Receives one UTF-16 site pattern (null when the source handed out none)
// and the caller's context; returns true to end the walk.
using MappingVisitor = bool (*)(const char16_t* pattern, void* context);

// Walks the site patterns mapped to `zone`, one at a time, until `visit`
// returns true or the list ends. Result: the HRESULT of the step that failed
// (negative), or a success code when the list could be walked.
HResult VisitZoneMappings(std::uint32_t zone, MappingVisitor visit, void* context);
