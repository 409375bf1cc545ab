"""The whole-program scenarios: a registry profile to start from, what the
person does, and exactly which registry values each run must change.

Every value and key of the watched trees that a run's `changes` does not name
must be the same after the run as before it. Each change names the state it
starts from too, so a seed that did not take effect fails the scenario
instead of passing it by accident.
"""

from dataclasses import dataclass, field

from locales import KOREAN, KOREAN_WITH_KOREAN_PATHS, WESTERN
from observed import completion_box, consent_dialog_as_shown, failure_box, ok_follows_box
from wine_registry import ABSENT, PRESENT, dword, key_change, sz, value_change
from zone_stand_in import ZoneStandIn

INTERNET_SETTINGS = r"Software\Microsoft\Windows\CurrentVersion\Internet Settings"
TRUSTED_ZONE = INTERNET_SETTINGS + r"\Zones\2"
DOMAINS = INTERNET_SETTINGS + r"\ZoneMap\Domains"
DOMAIN = DOMAINS + r"\kelvaro.co.kr"
DOMAIN_SUBKEY = DOMAIN + r"\www"
NEW_WINDOWS = r"Software\Microsoft\Internet Explorer\New Windows"
ALLOW = NEW_WINDOWS + r"\Allow"
WATCHED_TREES = [INTERNET_SETTINGS, NEW_WINDOWS]

PATTERN = "*.kelvaro.co.kr"

# Key permissions (SDDL): everyone may read and set values and nothing more,
# or only read.
READ_AND_SET_VALUE = "D:P(A;;0x2001b;;;WD)"
READ_ONLY = "D:P(A;;KR;;;WD)"

# A file name that no ANSI code page but 949 can spell ("Kelvaro setup").
KOREAN_NAME = "켈바로설정"
# Four folders of 35 Hangul syllables: 140 characters, 280 bytes in code page
# 949 (with the rest of the path well over 300), 105 UTF-8 bytes per folder
# name, as Linux allows at most 255.
KOREAN_FOLDER_NAME = ("가나다라마바사아자차카타파하" * 3)[:35]
DEEP_KOREAN_FOLDER = "/".join([KOREAN_FOLDER_NAME] * 4)


@dataclass
class Run:
    """One start of the program on the scenario's prefix."""
    steps: list
    changes: dict
    checks: list = field(default_factory=list)
    arguments: list = field(default_factory=list)
    exe_name: str = "OrvantaCtrl.exe"
    folder: str = ""  # where a copy of the program runs from, below the scenario's directory
    exit_code: int = 0
    # (key under HKEY_CURRENT_USER, SDDL) set just before the program starts.
    key_permissions: list = field(default_factory=list)


@dataclass
class Scenario:
    name: str
    contract: str  # the one sentence this scenario protects
    seed: str      # REGEDIT4 text after the header
    runs: list
    # Keys and values the seeded profile must have before the first run (the
    # ones that must survive untouched, so their seeding is checked too).
    given: dict = field(default_factory=dict)
    locale: object = KOREAN
    # A ZoneStandIn answers the program's zone-mappings query; None leaves Wine's.
    zone_stand_in: ZoneStandIn = None


def user_key(path):
    return f"[HKEY_CURRENT_USER\\{path}]"


# --- Registry profiles (REGEDIT4; "[-KEY]" deletes a key, "name"=- a value).

ALLOW_LIST = f"""{user_key(ALLOW)}
"*.example.com"=""
"""

# The domain mapped to the Restricted sites zone, and a pop-up allow list.
DOMAIN_IN_RESTRICTED_ZONE = f"""{user_key(DOMAIN)}
"*"=dword:00000004

{ALLOW_LIST}"""

# --- What the person does.

def consent_by_mouse(caption="OrvantaCtrl"):
    """Ticks and presses OK with real clicks, reading the dialog on the way."""
    steps = ["find-dialog", "read:shown", "shot:dialog",
             "mouse-tick:1002", "read:agreed", "shot:agreed",
             "mouse-click:1", "wait-gone",
             "find-notice", "read:notice", "icon:notice", "shot:notice",
             "mouse-click:1", "wait-gone", "wait-exit"]
    checks = [consent_dialog_as_shown("shown"), ok_follows_box("agreed", ticked=True),
              completion_box("notice", caption)]
    return steps, checks


def consent_by_messages(box=completion_box):
    """Ticks and presses OK through button messages, then closes the box."""
    steps = ["find-dialog", "tick:1002", "press:1", "wait-gone",
             "find-notice", "read:notice", "icon:notice", "press:1", "wait-gone", "wait-exit"]
    return steps, [box("notice")]


def decline(*actions):
    """Whatever the actions do, the dialog closes and the program ends with no other window."""
    return ["find-dialog", *actions, "wait-gone", "wait-exit"]


def silent():
    """The program ends by itself with no window: any window of it is an error."""
    return ["wait-start", "wait-exit"]


def consent_run(changes, how=consent_by_messages, **run_options):
    steps, checks = how()
    return Run(steps=steps, changes=changes, checks=checks, **run_options)


def unregistered_consent_run(changes, **run_options):
    """Consent on a profile where the domain cannot end up trusted: the stop
    box, exit code 2, and whatever the other stages could still write."""
    return consent_run(changes, how=lambda: consent_by_messages(box=failure_box), exit_code=2,
                       **run_options)


# --- Registry changes.

def changed(path, name, old, new):
    return {value_change(path, name): (old, new)}


def domain_mapped(old=ABSENT):
    """The domain key is created when missing, and "*" becomes 2."""
    changes = changed(DOMAIN, "*", old, dword(2))
    if old is ABSENT:
        changes[key_change(DOMAIN)] = (ABSENT, PRESENT)
    return changes


# A fresh prefix has "1001" = 0 and "1200" = 0 in the Trusted sites zone and no "2201".
FRESH_ZONE_ADJUSTED = changed(TRUSTED_ZONE, "1001", dword(0), dword(1))
POPUPS_ALLOWED = changed(ALLOW, PATTERN, ABSENT, sz(""))
FIRST_CONSENT = {**FRESH_ZONE_ADJUSTED, **domain_mapped()}
NOTHING = {}


SCENARIOS = [
    Scenario(
        "first-run-consent",
        "On a fresh profile a person sees the dialog as designed; ticking the box and "
        "pressing OK sets \"1001\" to prompt, maps the domain to the Trusted sites zone, "
        "creates no pop-up list and confirms with the completion box.",
        seed="",
        runs=[consent_run(FIRST_CONSENT, how=consent_by_mouse)]),

    Scenario(
        "first-run-consent-adds-popup-entry",
        "With a pop-up allow list present, consent also adds the wildcard pattern to it, "
        "keeping its other entries.",
        seed=ALLOW_LIST,
        runs=[consent_run({**FIRST_CONSENT, **POPUPS_ALLOWED})]),

    Scenario(
        "decline-with-esc",
        "Esc on the dialog changes nothing and ends the program with no other window.",
        seed=ALLOW_LIST,
        runs=[Run(decline("key:esc"), NOTHING)]),

    Scenario(
        "decline-with-close-box",
        "The close box changes nothing and ends the program with no other window.",
        seed=ALLOW_LIST,
        runs=[Run(decline("close"), NOTHING)]),

    Scenario(
        "decline-with-close-box-after-ticking",
        "OK follows the box through ticking and unticking, and closing the dialog while "
        "ticked is still a refusal.",
        seed=ALLOW_LIST,
        runs=[Run(decline("tick:1002", "read:ticked", "untick:1002", "read:unticked",
                          "mouse-tick:1002", "read:ticked-again", "close"),
                  NOTHING,
                  checks=[ok_follows_box("ticked", True), ok_follows_box("unticked", False),
                          ok_follows_box("ticked-again", True)])]),

    Scenario(
        "decline-after-pressing-disabled-ok",
        "Clicking the disabled OK and pressing Enter before ticking do not consent; the "
        "dialog stays open until it is closed, and nothing changes.",
        seed=ALLOW_LIST,
        # The two clicks on the box come after the OK click in the same input
        # queue, so once the box is unticked again the OK click has been handled.
        runs=[Run(decline("mouse-click:1", "key:enter", "mouse-tick:1002", "mouse-untick:1002",
                          "read:still-open", "close"),
                  NOTHING,
                  checks=[ok_follows_box("still-open", False)])]),

    Scenario(
        "second-consent-changes-nothing-more",
        "Consenting again on a profile that already has the changes leaves it as it is "
        "(Wine's security manager lists no mappings, so the dialog shows again).",
        seed=ALLOW_LIST,
        runs=[consent_run({**FIRST_CONSENT, **POPUPS_ALLOWED}), consent_run(NOTHING)]),

    Scenario(
        "url-action-stored-as-string",
        "A URL action stored as REG_SZ is left alone while the other actions are still set.",
        seed=f"""{user_key(TRUSTED_ZONE)}
"1001"="0"
"2201"=dword:00000003
""",
        given={value_change(TRUSTED_ZONE, "1001"): sz("0")},
        runs=[consent_run({**changed(TRUSTED_ZONE, "2201", dword(3), dword(0)), **domain_mapped()})]),

    Scenario(
        "url-action-missing",
        "A missing URL action value is not created while the other actions are still set.",
        seed=f"""{user_key(TRUSTED_ZONE)}
"1001"=-
"1200"=dword:00000003
""",
        given={value_change(TRUSTED_ZONE, "1001"): ABSENT, value_change(TRUSTED_ZONE, "2201"): ABSENT},
        runs=[consent_run({**changed(TRUSTED_ZONE, "1200", dword(3), dword(0)), **domain_mapped()})]),

    Scenario(
        "url-actions-set-to-wanted-policies",
        "\"1001\" 0, \"2201\" 1 and \"1200\" 3 end as 1 (prompt), 0 and 0 (enable).",
        seed=f"""{user_key(TRUSTED_ZONE)}
"1001"=dword:00000000
"2201"=dword:00000001
"1200"=dword:00000003
""",
        runs=[consent_run({**changed(TRUSTED_ZONE, "1001", dword(0), dword(1)),
                           **changed(TRUSTED_ZONE, "2201", dword(1), dword(0)),
                           **changed(TRUSTED_ZONE, "1200", dword(3), dword(0)),
                           **domain_mapped()})]),

    Scenario(
        "no-domains-key",
        "Without a ZoneMap\\Domains key nothing is created there and the site cannot be "
        "trusted: the stop box and exit code 2, while the zone actions and the pop-up entry "
        "are still written.",
        seed=f"""[-HKEY_CURRENT_USER\\{DOMAINS}]

{ALLOW_LIST}""",
        given={key_change(DOMAINS): ABSENT},
        runs=[unregistered_consent_run({**FRESH_ZONE_ADJUSTED, **POPUPS_ALLOWED})]),

    Scenario(
        "no-trusted-zone-key",
        "Without a Zones\\2 key the domain is still mapped and the zone key is not created.",
        seed=f"""[-HKEY_CURRENT_USER\\{TRUSTED_ZONE}]
""",
        given={key_change(TRUSTED_ZONE): ABSENT},
        runs=[consent_run(domain_mapped())]),

    Scenario(
        "domain-in-restricted-zone",
        "A domain already mapped to zone 4 ends in zone 2, its other values and sub-keys "
        "kept as they were.",
        seed=f"""{user_key(DOMAIN)}
"*"=dword:00000004
"http"=dword:00000004
"메모"="그대로"

{user_key(DOMAIN_SUBKEY)}
"*"=dword:00000004
""",
        given={value_change(DOMAIN, "http"): dword(4), value_change(DOMAIN, "메모"): sz("그대로"),
               value_change(DOMAIN_SUBKEY, "*"): dword(4)},
        runs=[consent_run({**FRESH_ZONE_ADJUSTED, **domain_mapped(old=dword(4))})]),

    Scenario(
        "popup-settings-without-allow-key",
        "A pop-up settings key without an Allow sub-key gets none: the list is not created.",
        seed=f"""{user_key(NEW_WINDOWS)}
"PopupMgr"="yes"
""",
        given={value_change(NEW_WINDOWS, "PopupMgr"): sz("yes"), key_change(ALLOW): ABSENT},
        runs=[consent_run(FIRST_CONSENT)]),

    Scenario(
        "arguments-have-no-effect",
        "Command-line arguments change nothing: the run is the same as without them.",
        seed=ALLOW_LIST,
        runs=[consent_run({**FIRST_CONSENT, **POPUPS_ALLOWED},
                          arguments=["/uninstall", "--silent", "-domain=evil.example", "한글 인수"])]),

    Scenario(
        "renamed-copy-names-its-box",
        "The completion box's caption is the executable's file name without extension.",
        seed="",
        runs=[consent_run(FIRST_CONSENT, how=lambda: consent_by_mouse(caption="KelvaroSetup"),
                          exe_name="KelvaroSetup.exe")]),

    # --- Key permissions: profiles hardened by policy or damaged by other programs.

    Scenario(
        "keys-allowing-only-read-and-set-value",
        "Zones\\2, the domain key and the pop-up Allow key allowing only reading and setting "
        "values (and Domains only reading) are all written: the program asks for no more.",
        seed=DOMAIN_IN_RESTRICTED_ZONE,
        given={value_change(DOMAIN, "*"): dword(4)},
        runs=[consent_run({**FRESH_ZONE_ADJUSTED, **domain_mapped(old=dword(4)), **POPUPS_ALLOWED},
                          key_permissions=[(TRUSTED_ZONE, READ_AND_SET_VALUE),
                                           (DOMAINS, READ_ONLY),
                                           (DOMAIN, READ_AND_SET_VALUE),
                                           (ALLOW, READ_AND_SET_VALUE)])]),

    Scenario(
        "read-only-domain-key-in-restricted-zone",
        "A read-only domain key mapped to zone 4 stays there: the stop box and exit code 2, "
        "never the completion box, while the other stages still write.",
        seed=DOMAIN_IN_RESTRICTED_ZONE,
        given={value_change(DOMAIN, "*"): dword(4)},
        runs=[unregistered_consent_run({**FRESH_ZONE_ADJUSTED, **POPUPS_ALLOWED},
                                       key_permissions=[(DOMAIN, READ_ONLY)])]),

    # --- Other systems: what a person reads must not depend on the ANSI code page.

    Scenario(
        "western-system-korean-file-name",
        "On a Western system (code page 1252) a copy with a Korean file name shows every text "
        "of the dialog, the notice and the box exactly, its own name as the box caption, and "
        "makes exactly the changes of a Korean run.",
        seed="",
        locale=WESTERN,
        runs=[consent_run(FIRST_CONSENT, how=lambda: consent_by_mouse(caption=KOREAN_NAME),
                          exe_name=f"{KOREAN_NAME}.exe")]),

    Scenario(
        "copy-in-a-deep-korean-folder",
        "A copy whose folder path takes more than 300 bytes in code page 949 starts, shows "
        "the dialog, and names the box after its whole file name.",
        seed="",
        locale=KOREAN_WITH_KOREAN_PATHS,
        runs=[consent_run(FIRST_CONSENT, how=lambda: consent_by_mouse(caption=KOREAN_NAME),
                          exe_name=f"{KOREAN_NAME}.exe", folder=DEEP_KOREAN_FOLDER)]),

    # --- The trusted-zone query, answered by the zone-mappings stand-in. ------
    # Each scenario here registers the stand-in as its prefix's URL security
    # manager and fails unless the stand-in was asked once in every run.

    Scenario(
        "listed-domain-ends-silently",
        "When a Trusted sites pattern contains the domain, the program ends with no window, "
        "exit code 0 and no registry change.",
        seed=ALLOW_LIST,
        zone_stand_in=ZoneStandIn(mappings=("https://www.example.com", PATTERN)),
        runs=[Run(silent(), NOTHING)]),

    Scenario(
        "null-item-before-listed-domain",
        "A null item in the list is passed over: the pattern after it still ends the program "
        "silently.",
        seed="",
        zone_stand_in=ZoneStandIn(mappings=(None, PATTERN)),
        runs=[Run(silent(), NOTHING)]),

    Scenario(
        "domain-inside-double-byte-character",
        "A pattern that holds the domain's bytes only from the trail byte of a double-byte "
        "character on does not contain the domain: the dialog shows.",
        seed="",
        # U+AC43 is 0x81 0x6B in code page 949: a lead byte, then "k".
        zone_stand_in=ZoneStandIn(mappings=("\uAC43elvaro.co.kr",)),
        runs=[Run(decline("close"), NOTHING)]),

    Scenario(
        "failed-zone-query-asks",
        "When the zone-mappings query fails, the person is asked: the dialog shows.",
        seed="",
        zone_stand_in=ZoneStandIn(failure=0x80070005),  # E_ACCESSDENIED
        runs=[Run(decline("close"), NOTHING)]),

    Scenario(
        "consent-then-silent-second-run",
        "Once the person has consented, the domain is among the Trusted sites that Windows "
        "lists, so the next run ends silently and changes nothing.",
        seed="",
        zone_stand_in=ZoneStandIn(),
        runs=[consent_run(FIRST_CONSENT), Run(silent(), NOTHING)]),
]
