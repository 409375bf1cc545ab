"""The zone-mappings stand-in: a test-only DLL (tests/e2e/zone_stand_in/) that
a scenario registers in its own prefix as the in-process server of the URL
security manager class, so that GetZoneMappings(2) lists what the scenario
needs; Wine 8's own manager answers E_NOTIMPL. Wine's zone manager stays.

The harness adds `seed(...)` to the scenario's registry seed and, after each
run, reports `problems(...)`: the answer must read back as it was set, and
the stand-in must have been asked exactly once a run, so a scenario cannot
pass because the stand-in failed to load and Wine's manager answered instead.
"""

from dataclasses import dataclass

from wine_registry import ABSENT, PRESENT, Value, describe_change, dword, key_change, subtrees, sz, value_change

STAND_IN_DLL = "tests/e2e/zone_stand_in/orvanta_zone_stand_in.dll"
SECURITY_MANAGER_SERVER = r"Software\Classes\CLSID\{7B8A2D94-0AC9-11D1-896C-00C04FB6BFC4}\InprocServer32"
# The stand-in's own key, outside the trees the suite watches: the answer the
# scenario sets, and "Queries", which the stand-in counts up at each query.
STAND_IN_KEY = r"Software\OrvantaTest\ZoneMappingsStandIn"
MAPPINGS_KEY = STAND_IN_KEY + r"\Mappings"
NULL_ITEM = Value(0, b"")  # a REG_NONE value stands for a null item


def _quoted(text):
    return '"' + text.replace("\\", "\\\\").replace('"', '\\"') + '"'


@dataclass(frozen=True)
class ZoneStandIn:
    """What GetZoneMappings(2) answers: the HRESULT `failure` when given; else
    `mappings`, the patterns in order with None for a null item; else the
    Trusted sites that the prefix's ZoneMap\\Domains holds at the time of the
    query, listed as Windows lists them."""
    mappings: tuple = None
    failure: int = None

    def seed(self, dll_windows_path):
        """REGEDIT4 text that registers the stand-in and sets its answer."""
        lines = [f"[HKEY_LOCAL_MACHINE\\{SECURITY_MANAGER_SERVER}]",
                 f"@={_quoted(dll_windows_path)}",
                 '"ThreadingModel"="Both"',
                 "",
                 f"[HKEY_CURRENT_USER\\{STAND_IN_KEY}]"]
        if self.failure is not None:
            lines.append(f'"Failure"=dword:{self.failure & 0xFFFFFFFF:08x}')
        if self.mappings is not None:
            lines += ["", f"[HKEY_CURRENT_USER\\{MAPPINGS_KEY}]"]
            lines += [f'"{number}"={"hex(0):" if item is None else _quoted(item)}'
                      for number, item in enumerate(self.mappings, 1)]
        return "\n".join(lines) + "\n"

    def problems(self, registry, runs):
        """What is wrong with the stand-in's key after `runs` runs, read from
        the prefix's whole user registry."""
        problems = [f"the zone-mappings stand-in's answer is not as set: {describe_change(entry, change)}"
                    for entry, change in sorted(_differences(self._answer_set(), _answer_seen(registry)).items(),
                                                key=str)]
        key = registry.get(STAND_IN_KEY.lower())
        queries = key.values["queries"][1] if key and "queries" in key.values else dword(0)
        if queries != dword(runs):
            problems.append(f"the zone-mappings stand-in was asked for zone 2's list {queries.data} "
                            f"time(s) in {runs} run(s), expected once a run")
        return problems

    def _answer_set(self):
        answer = {key_change(MAPPINGS_KEY): ABSENT if self.mappings is None else PRESENT}
        if self.failure is not None:
            answer[value_change(STAND_IN_KEY, "Failure")] = dword(self.failure & 0xFFFFFFFF)
        for number, item in enumerate(self.mappings or (), 1):
            answer[value_change(MAPPINGS_KEY, str(number))] = NULL_ITEM if item is None else sz(item)
        return answer


def _answer_seen(registry):
    """The answer as the prefix's registry holds it, in the form of _answer_set."""
    answer = {key_change(MAPPINGS_KEY): PRESENT if MAPPINGS_KEY.lower() in registry else ABSENT}
    for path, key in subtrees(registry, [STAND_IN_KEY]).items():
        for name, (_, value) in key.values.items():
            if (path, name) != value_change(STAND_IN_KEY, "Queries"):
                answer[(path, name)] = value
    return answer


def _differences(wanted, seen):
    return {entry: (seen.get(entry, ABSENT), wanted.get(entry, ABSENT))
            for entry in wanted.keys() | seen.keys() if seen.get(entry, ABSENT) != wanted.get(entry, ABSENT)}
