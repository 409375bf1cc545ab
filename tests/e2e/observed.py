"""What the driver saw, and the checks that compare it with how the program
should look from outside."""

from dataclasses import dataclass, field

CONSENT_CAPTION = "신뢰할 수 있는 사이트 추가"
OK_TEXT = "확 인"
AGREE_TEXT = " 동의합니다."
TITLE_TEXT = "신뢰할 수 있는 사이트 추가"
REGISTERED_URL_LINE = " -등록URL : *.kelvaro.co.kr"
NOTICE_TEXT = "\n".join([
    "Windows 7 이상의 운영체제를 사용하고 있는 경우,",
    "프로그램 차단 기능으로 인해 정상적으로 Kelvaro를 사용하지 못할 수 있습니다.",
    "",
    "'동의합니다.'선택 후 확인버튼을 누르면 아래 등록URL을 신뢰할 수 있는 사이트로 등록합니다.",
    "",
    REGISTERED_URL_LINE,
    "",
    "만약, 추가된 사이트를 제거하기 위해서는 [제어판] -> [프로그램 및 기능]에서 'OrvantaSetup'을 제거하십시오.",
])
COMPLETION_TEXT = "신뢰할 수 있는 사이트 등록이 완료되었습니다."
FAILURE_TEXT = "신뢰할 수 있는 사이트를 등록하지 못했습니다."

IDOK = 1
IDC_GROUP_FRAME = 1001
IDC_AGREE_CHECK = 1002
IDC_TITLE_TEXT = 1003
IDC_NOTICE_TEXT = 1004
ICON_STATIC = -1  # the icon static has no id of its own
MESSAGE_BOX_TEXT = 65535
# Controls of the consent dialog in template order, which is the tab order.
CONSENT_CONTROLS = [IDOK, IDC_GROUP_FRAME, IDC_AGREE_CHECK, ICON_STATIC, IDC_TITLE_TEXT,
                    IDC_NOTICE_TEXT]


@dataclass
class Reading:
    """One "read:LABEL" of the driver: the window and its controls."""
    fields: dict = field(default_factory=dict)

    def text(self, key):
        return bytes.fromhex(self.fields.get(key, "")).decode("utf-8")

    def control(self, control_id, attribute):
        return self.fields.get(f"control.{control_id}.{attribute}")

    def control_text(self, control_id):
        return self.text(f"control.{control_id}.text")

    def numbers(self, key):
        return [int(part) for part in self.fields[key].split(",")]

    def control_ids(self):
        listed = self.fields.get("controls", "")
        return [int(part.split("#")[0]) for part in listed.split(",") if part]


def parse_driver_output(text):
    """The driver's "key=value" lines: readings by label, the steps it began,
    its error if any, and whether it finished."""
    readings, steps, errors, done = {}, [], [], False
    for line in text.splitlines():
        key, _, value = line.partition("=")
        if key == "step":
            steps.append(value)
        elif key == "error":
            errors.append(value)
        elif key == "done":
            done = True
        elif "." in key:
            label, _, rest = key.partition(".")
            readings.setdefault(label, Reading()).fields[rest] = value
    return readings, steps, errors, done


def describe_window(reading):
    """A window in one line: its caption and the texts of its controls."""
    texts = [reading.control_text(control_id) for control_id in reading.control_ids()]
    return f"caption {reading.text('caption')!r}, texts {[text for text in texts if text]!r}"


def _expect(problems, what, seen, wanted):
    if seen != wanted:
        problems.append(f"{what}: saw {seen!r}, expected {wanted!r}")


def _centred(reading):
    left, top, right, bottom = reading.numbers("rect")
    width, height = reading.numbers("screen")
    # The window's centre lies within a pixel of the screen's centre.
    return abs((left + right) - width) <= 2 and abs((top + bottom) - height) <= 2


def _reading(seen, label, problems):
    reading = seen.get(label)
    if reading is None:
        problems.append(f"the driver made no reading '{label}'")
    return reading


def consent_dialog_as_shown(label):
    """The dialog a person first sees: its texts, OK disabled and the box
    unticked whatever the template says, centred on the screen, no owner."""
    def check(seen):
        problems = []
        reading = _reading(seen, label, problems)
        if reading is None:
            return problems
        _expect(problems, f"{label}: caption", reading.text("caption"), CONSENT_CAPTION)
        _expect(problems, f"{label}: controls in tab order", reading.control_ids(), CONSENT_CONTROLS)
        _expect(problems, f"{label}: OK text", reading.control_text(IDOK), OK_TEXT)
        _expect(problems, f"{label}: group frame text", reading.control_text(IDC_GROUP_FRAME), "")
        _expect(problems, f"{label}: check box text", reading.control_text(IDC_AGREE_CHECK), AGREE_TEXT)
        _expect(problems, f"{label}: title text", reading.control_text(IDC_TITLE_TEXT), TITLE_TEXT)
        notice = reading.control_text(IDC_NOTICE_TEXT)
        if REGISTERED_URL_LINE not in notice.split("\n"):
            problems.append(f"{label}: the notice has no line {REGISTERED_URL_LINE!r}")
        _expect(problems, f"{label}: notice text", notice, NOTICE_TEXT)
        _expect(problems, f"{label}: owned by a window", reading.fields.get("owned"), "0")
        if not _centred(reading):
            problems.append(f"{label}: not centred: window {reading.fields['rect']} "
                            f"on a screen of {reading.fields['screen']}")
        problems += _ok_follows_box(label, reading, ticked=False)
        return problems
    return check


def _ok_follows_box(label, reading, ticked):
    problems = []
    _expect(problems, f"{label}: check box state", reading.control(IDC_AGREE_CHECK, "checked"),
            "1" if ticked else "0")
    _expect(problems, f"{label}: OK enabled", reading.control(IDOK, "enabled"), "1" if ticked else "0")
    return problems


def ok_follows_box(label, ticked):
    """OK is enabled exactly while the agree box is ticked."""
    def check(seen):
        problems = []
        reading = _reading(seen, label, problems)
        return problems if reading is None else _ok_follows_box(label, reading, ticked)
    return check


def _message_box(label, caption, text, icon):
    """A box of the program's: the executable's name as caption, `text`, the
    standard `icon` and a single OK button, with no owner."""
    def check(seen):
        problems = []
        reading = _reading(seen, label, problems)
        if reading is None:
            return problems
        _expect(problems, f"{label}: caption", reading.text("caption"), caption)
        _expect(problems, f"{label}: text", reading.control_text(MESSAGE_BOX_TEXT), text)
        _expect(problems, f"{label}: icon", reading.fields.get("icon"), icon)
        buttons = [control_id for control_id in reading.control_ids()
                   if reading.control(control_id, "class").lower() == "button"]
        _expect(problems, f"{label}: buttons", buttons, [IDOK])
        _expect(problems, f"{label}: owned by a window", reading.fields.get("owned"), "0")
        return problems
    return check


def completion_box(label, caption="OrvantaCtrl"):
    """The site is registered: the completion text and the exclamation icon."""
    return _message_box(label, caption, COMPLETION_TEXT, "exclamation")


def failure_box(label, caption="OrvantaCtrl"):
    """The site did not end up trusted: the failure text and the stop icon."""
    return _message_box(label, caption, FAILURE_TEXT, "error")
