"""What `cmake --install` puts in a prefix, as a desktop sees it: the desktop
entry and the AppStream metainfo pass their validators, the theme icons are
there at every size, and what the entry and the metainfo name is installed;
and the documents Debian wants: a manual page that renders cleanly, the
changelog of the built version and the copyright file."""

import argparse
import configparser
import gzip
import os
import re
import shutil
import struct
import subprocess
import sys
import tempfile
import unittest
import xml.etree.ElementTree as ET

APP_ID = "cn.xinglan.ludex"
PRODUCT_NAME = "星澜网页游戏中心"
# The sizes the icon generator draws for the theme (tools/icon).
ICON_SIZES = (16, 32, 48, 64, 128, 256)
# A validator's finding: error, warning, info or pedantic note.
FINDING = re.compile(r"^\s*[EWIP]: ", re.MULTILINE)

BUILD_DIR = None
VERSION = None


def png_size(path):
    """Width and height from a PNG's header chunk."""
    with open(path, "rb") as f:
        header = f.read(24)
    if header[:8] != b"\x89PNG\r\n\x1a\n" or header[12:16] != b"IHDR":
        raise AssertionError(f"{path} is not a PNG file")
    return struct.unpack(">II", header[16:24])


class InstalledTreeTest(unittest.TestCase):
    @classmethod
    def setUpClass(cls):
        cls._prefix_dir = tempfile.TemporaryDirectory(prefix="ludex-install-")
        cls.prefix = cls._prefix_dir.name
        subprocess.run(["cmake", "--install", BUILD_DIR, "--prefix", cls.prefix],
                       check=True, stdout=subprocess.DEVNULL)
        cls.desktop_path = os.path.join(cls.prefix, "share", "applications", APP_ID + ".desktop")
        cls.metainfo_path = os.path.join(cls.prefix, "share", "metainfo", APP_ID + ".metainfo.xml")

    @classmethod
    def tearDownClass(cls):
        cls._prefix_dir.cleanup()

    def desktop_entry(self):
        parser = configparser.ConfigParser(interpolation=None)
        parser.optionxform = str  # keys are case-sensitive
        parser.read(self.desktop_path, encoding="utf-8")
        return parser["Desktop Entry"]

    def metainfo(self):
        return ET.parse(self.metainfo_path).getroot()

    def assert_installed_program(self, name):
        self.assertNotIn("/", name, "a bare name, found on PATH wherever the prefix is")
        path = os.path.join(self.prefix, "games", name)
        self.assertTrue(os.path.isfile(path) and os.access(path, os.X_OK), f"{path} is not an installed program")

    def test_desktop_entry_passes_its_validator(self):
        result = subprocess.run(["desktop-file-validate", self.desktop_path],
                                capture_output=True, text=True)
        self.assertEqual(result.returncode, 0, result.stdout + result.stderr)
        self.assertEqual(result.stdout + result.stderr, "")

    def test_metainfo_passes_its_validator_with_the_installed_tree(self):
        # validate-tree also checks the metainfo against the desktop entry it launches.
        result = subprocess.run(["appstreamcli", "validate-tree", "--no-net", "--pedantic", self.prefix],
                                capture_output=True, text=True)
        output = result.stdout + result.stderr
        self.assertEqual(result.returncode, 0, output)
        self.assertIsNone(FINDING.search(output), output)

    def test_theme_icons_are_installed_at_their_sizes(self):
        theme = os.path.join(self.prefix, "share", "icons", "hicolor")
        found = sorted(os.path.relpath(os.path.join(d, f), theme)
                       for d, _, files in os.walk(theme) for f in files)
        self.assertEqual(found, sorted(f"{s}x{s}/apps/ludex.png" for s in ICON_SIZES))
        for size in ICON_SIZES:
            with self.subTest(size=size):
                self.assertEqual(png_size(os.path.join(theme, f"{size}x{size}", "apps", "ludex.png")),
                                 (size, size))

    def test_desktop_entry_starts_the_installed_program(self):
        entry = self.desktop_entry()
        self.assertEqual(entry["Exec"].split()[0], "ludex")
        self.assert_installed_program(entry["Exec"].split()[0])

    def test_desktop_entry_icon_is_in_the_theme(self):
        icon = self.desktop_entry()["Icon"]
        self.assertNotIn("/", icon, "a theme name, not a path")
        # 48 pixels is the size every hicolor application icon must have.
        path = os.path.join(self.prefix, "share", "icons", "hicolor", "48x48", "apps", icon + ".png")
        self.assertTrue(os.path.isfile(path), f"{path} is not installed")

    def test_desktop_entry_names_the_product(self):
        entry = self.desktop_entry()
        self.assertEqual(entry["Name"], PRODUCT_NAME)
        self.assertEqual(entry["Name[zh_CN]"], PRODUCT_NAME)

    def test_metainfo_describes_this_program(self):
        root = self.metainfo()
        self.assertEqual(root.findtext("id"), APP_ID)
        self.assertEqual(root.findtext("name"), PRODUCT_NAME)
        launchable = root.find("launchable[@type='desktop-id']")
        self.assertEqual(launchable.text, APP_ID + ".desktop")
        self.assert_installed_program(root.findtext("provides/binary"))

    def test_installed_program_tells_its_version_without_a_display(self):
        # 1.0.0.5 as people see it: major, minor in two digits, revision in four.
        program = os.path.join(self.prefix, "games", "ludex")
        env = {k: v for k, v in os.environ.items() if k not in ("DISPLAY", "WAYLAND_DISPLAY")}
        result = subprocess.run([program, "--version"], capture_output=True, text=True, env=env, timeout=30)
        self.assertEqual((result.returncode, result.stdout), (0, PRODUCT_NAME + " 1.00.0005\n"), result.stderr)

    def test_installed_program_lists_its_options_and_keys_and_refuses_others(self):
        program = os.path.join(self.prefix, "games", "ludex")
        env = {k: v for k, v in os.environ.items() if k not in ("DISPLAY", "WAYLAND_DISPLAY")}
        result = subprocess.run([program, "--help"], capture_output=True, text=True, env=env, timeout=30)
        self.assertEqual(result.returncode, 0, result.stderr)
        for named in ("--account=NAME", "--help", "--version", "Ctrl+M", "Ctrl+Alt+Z", "Ctrl+Shift+S",
                      "Ctrl+Shift+N", "settings.ini"):
            self.assertIn(named, result.stdout)
        # As command-line tools do: a usage fault is status 2, with the reason on stderr and nothing on stdout.
        result = subprocess.run([program, "--fullscreen"], capture_output=True, text=True, env=env, timeout=30)
        self.assertEqual((result.returncode, result.stdout), (2, ""))
        self.assertIn("unknown option --fullscreen", result.stderr)

    def test_metainfo_newest_release_is_the_built_version(self):
        releases = self.metainfo().findall("releases/release")
        self.assertTrue(releases, "no release in the metainfo")
        # AppStream lists releases newest first.
        self.assertEqual(releases[0].get("version"), VERSION)

    def test_changelog_newest_entry_is_the_built_version(self):
        # A Debian changelog lists entries newest first, each headed "package (version) ...".
        with gzip.open(os.path.join(self.prefix, "share", "doc", "ludex", "changelog.gz"), "rt",
                       encoding="utf-8") as f:
            heading = f.readline()
        self.assertRegex(heading, r"^ludex \(" + re.escape(VERSION) + r"\) ")

    def test_copyright_file_is_machine_readable(self):
        with open(os.path.join(self.prefix, "share", "doc", "ludex", "copyright"), encoding="utf-8") as f:
            paragraphs = [p for p in f.read().split("\n\n") if p.strip()]
        self.assertTrue(paragraphs[0].startswith(
            "Format: https://www.debian.org/doc/packaging-manuals/copyright-format/1.0/\n"))
        used = {m for p in paragraphs if p.startswith("Files:") for m in re.findall(r"^License: (.+)$", p, re.M)}
        # A licence named without its text in the paragraph names it in one of its own.
        texts = {p.split("\n", 1)[0][len("License: "):] for p in paragraphs
                 if p.startswith("License:") and "\n " in p}
        self.assertTrue(used, "no Files paragraph names a licence")
        self.assertLessEqual(used, texts)

    def test_manual_pages_render_without_warnings(self):
        man6 = os.path.join(self.prefix, "share", "man", "man6")
        self.assertEqual(sorted(os.listdir(man6)), ["ludex-gallery.6.gz", "ludex.6.gz"])
        self.assertEqual(os.readlink(os.path.join(man6, "ludex-gallery.6.gz")), "ludex.6.gz")
        with gzip.open(os.path.join(man6, "ludex.6.gz")) as f:
            page = f.read()
        # A typesetting device (PostScript, groff's default) and a terminal, as man(1) renders it.
        for device in ("ps", "utf8"):
            with self.subTest(device=device):
                result = subprocess.run(["groff", "-man", "-k", f"-T{device}", "-ww", "-z"], input=page,
                                        capture_output=True)
                self.assertEqual((result.returncode, result.stderr.decode(errors="replace")), (0, ""))


def main():
    global BUILD_DIR, VERSION
    parser = argparse.ArgumentParser()
    parser.add_argument("--build-dir", required=True)
    parser.add_argument("--version", required=True, help="the project's version")
    args, rest = parser.parse_known_args()
    for tool in ("cmake", "desktop-file-validate", "appstreamcli", "groff"):
        if shutil.which(tool) is None:
            sys.exit(f"{tool} is missing: run scripts/bootstrap")
    BUILD_DIR = os.path.abspath(args.build_dir)
    VERSION = args.version
    unittest.main(argv=[sys.argv[0]] + rest, verbosity=2)


if __name__ == "__main__":
    main()
