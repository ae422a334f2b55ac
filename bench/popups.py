"""Memory with windows that pages open: the main view and eight pop-ups.

At a click, the start page opens its eight windows itself with window.open,
which the program lets pages do at the player's click (up to eight at once);
their views share the main view's web process. surf refuses window.open without the player and opens
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
OPENER_COLOUR = (90, 90, 140)
OPENER_PAGE = coloured_page("opener", OPENER_COLOUR, f"""<script>
document.addEventListener('click', () => {{
  for (let i = 0; i < {POPUPS}; i++) window.open('/popup?' + i, 'w' + i, 'width=320,height=240');
}});
</script>""")
LINK_PAGE = coloured_page("opener", OPENER_COLOUR,
                          "<a href='/popup' target='_blank' style='display:block; width:100%; height:100%'>open</a>")
POPUP_PAGE = coloured_page("popup", (140, 90, 90), "<canvas width='300' height='200'></canvas>")
START_PATH = "/pre.php"
# Where surf's new windows go: off the opener's link, partly off the screen.
ASIDE = (900, 0)
IN_SURF = (400, 300)
# In the program's browser, in the main window's client pixels.
IN_BROWSER = (500, 400)


def _tree_pss_mib(pid):
    pss, _ = process_tree.memory_kib(pid)
    return pss / 1024


def _click_when_shown(x, screen, window, point, what):
    """Clicks `point` of `window` once the opener's page is shown there."""
    left, top, _, _ = screen.geometry(window)
    if x.wait_for_colour(left + point[0], top + point[1], OPENER_COLOUR, TIMEOUT) is None:
        raise AssertionError(f"{what} did not show the opener")
    x.move(left + point[0], top + point[1])
    x.button(1, True)
    x.button(1, False)
    return left, top


def program_pss(program_path, env, display, log_path):
    """PSS in MiB of the program's tree with its main window and eight pop-ups open."""
    screen = Screen(display)
    with PageServer({START_PATH: Response(OPENER_PAGE), "/popup": Response(POPUP_PAGE)}, ports=(REDIRECT_PORT,)), \
            XInput(display.name) as x:
        program = Program(program_path, env, log_path)
        try:
            _click_when_shown(x, screen, screen.wait_for_window(program, TIMEOUT), IN_BROWSER,
                              f"the program (see {log_path})")
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
    with PageServer({START_PATH: Response(LINK_PAGE), "/popup": Response(POPUP_PAGE)}, ports=(REDIRECT_PORT,)), \
            XInput(display.name) as x:
        program = Program(browser, env, log_path, args=[opener])
        try:
            main = screen.wait_for_window(program, TIMEOUT)

            def windows():
                return {window for pid in process_tree.members(program.pid) for window in screen.windows_of(pid)}
            known = windows()
            for _ in range(POPUPS):
                _click_when_shown(x, screen, main, IN_SURF, f"surf (see {log_path})")
                new = wait_for(lambda: windows() - known, TIMEOUT, "surf's new window")
                for window in new:
                    screen.xdotool("windowmove", "--sync", window, *ASIDE)
                known |= new
            time.sleep(AFTER_OPEN)
            return _tree_pss_mib(program.pid)
        finally:
            program.stop()
