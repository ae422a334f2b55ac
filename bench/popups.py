"""Memory with windows that pages open: the main view and eight pop-ups.

The start page opens its eight windows itself with window.open, which the
program lets pages do (up to eight at once); their views share the main
view's web process. surf refuses window.open without the player and opens
no window for a scripted one with the player's gesture either; for a click
on a link with a blank target it starts another surf, with web and network
processes of its own. So surf's eight are opened by clicks on such a link,
which fills its page, each new window moved off the link, and its figure is
that of nine browsers: the tree holds them all."""

import time

import process_tree
from harness import REDIRECT_PORT, Program, Screen, wait_for
from pages import PageServer, Response, coloured_page
from x_input import XInput

POPUPS = 8
TIMEOUT = 60
AFTER_OPEN = 3.0
OPENER_PAGE = coloured_page("opener", (90, 90, 140), f"""<script>
for (let i = 0; i < {POPUPS}; i++) window.open('/popup?' + i, 'w' + i, 'width=320,height=240');
</script><a href='/popup' target='_blank' style='display:block; width:100%; height:100%'>open</a>""")
POPUP_PAGE = coloured_page("popup", (140, 90, 90), "<canvas width='300' height='200'></canvas>")
START_PATH = "/pre.php"
# Where surf's new windows go: off the opener's link, partly off the screen.
ASIDE = (900, 0)
IN_SURF = (400, 300)


def _tree_pss_mib(pid):
    pss, _ = process_tree.memory_kib(pid)
    return pss / 1024


def program_pss(program_path, env, display, log_path):
    """PSS in MiB of the program's tree with its main window and eight pop-ups open."""
    screen = Screen(display)
    with PageServer({START_PATH: Response(OPENER_PAGE), "/popup": Response(POPUP_PAGE)}, ports=(REDIRECT_PORT,)):
        program = Program(program_path, env, log_path)
        try:
            wait_for(lambda: len(screen.windows_of(program.pid)) >= 1 + POPUPS and program.alive(), TIMEOUT,
                     f"the main window and {POPUPS} pop-ups")
            time.sleep(AFTER_OPEN)
            return _tree_pss_mib(program.pid)
        finally:
            program.stop()


def browser_pss(browser, env, display, log_path):
    """PSS in MiB of surf's tree with nine windows open."""
    screen = Screen(display)
    opener = f"http://127.0.0.1:{REDIRECT_PORT}{START_PATH}"
    with PageServer({START_PATH: Response(OPENER_PAGE), "/popup": Response(POPUP_PAGE)}, ports=(REDIRECT_PORT,)), \
            XInput(display.name) as x:
        program = Program(browser, env, log_path, args=[opener])
        try:
            main = screen.wait_for_window(program, TIMEOUT)
            left, top, _, _ = screen.geometry(main)
            if x.wait_for_colour(left + IN_SURF[0], top + IN_SURF[1], (90, 90, 140), TIMEOUT) is None:
                raise AssertionError(f"surf did not show the opener; see {log_path}")

            def windows():
                return {window for pid in process_tree.members(program.pid) for window in screen.windows_of(pid)}
            known = windows()
            for _ in range(POPUPS):
                x.move(left + IN_SURF[0], top + IN_SURF[1])
                x.button(1, True)
                x.button(1, False)
                new = wait_for(lambda: windows() - known, TIMEOUT, "surf's new window")
                for window in new:
                    screen.xdotool("windowmove", "--sync", window, *ASIDE)
                known |= new
            time.sleep(AFTER_OPEN)
            return _tree_pss_mib(program.pid)
        finally:
            program.stop()
