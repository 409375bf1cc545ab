"""The systems a scenario runs on, as the locale Wine starts with.

Wine takes the ANSI code page from LC_ALL's name: ko_KR gives 949 (a Korean
system), C.UTF-8 gives 1252 (a Western one). To open a non-ASCII Unix path
it also needs that locale to exist in glibc with UTF-8; a fresh machine has
C.UTF-8 but no ko_KR.UTF-8, so the suite builds one into its own folder and
points LOCPATH at it where a scenario needs Korean paths.
"""

from dataclasses import dataclass
import subprocess

KOREAN_LOCALE = "ko_KR.UTF-8"


@dataclass(frozen=True)
class Locale:
    name: str
    lc_all: str
    needs_unix_locale: bool = False

    def environment(self, locale_dir):
        env = {"LC_ALL": self.lc_all}
        if self.needs_unix_locale:
            env["LOCPATH"] = str(locale_dir)
        return env


KOREAN = Locale("Korean (code page 949)", KOREAN_LOCALE)
KOREAN_WITH_KOREAN_PATHS = Locale("Korean (code page 949) with Korean Unix paths", KOREAN_LOCALE,
                                  needs_unix_locale=True)
WESTERN = Locale("Western (code page 1252)", "C.UTF-8")


def build_korean_unix_locale(locale_dir, log):
    """ko_KR.UTF-8 compiled from the locales package's sources into locale_dir."""
    locale_dir.mkdir(parents=True, exist_ok=True)
    with open(log, "wb") as output:
        status = subprocess.run(["localedef", "-i", "ko_KR", "-f", "UTF-8", str(locale_dir / KOREAN_LOCALE)],
                                stdout=output, stderr=output, stdin=subprocess.DEVNULL).returncode
    # localedef exits 1 for mere warnings; the compiled locale is what counts.
    if not (locale_dir / KOREAN_LOCALE / "LC_CTYPE").exists():
        raise RuntimeError(f"localedef could not build {KOREAN_LOCALE} (exit code {status}); see {log}")
