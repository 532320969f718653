"""End-to-end cases of the menu, the accelerator keys, the file dialogs they open and the About box,
with real keys under the test display and window manager: what is shown, what is heard, which
windows there are, and that the keys act again once a menu or a dialog has closed."""

import os
import time

import numpy as np

from tests.e2e.harness import ProgramTestCase, Recording

TITLE = "Untitled - Pibo"

# The ten editing keys: the modifier that goes down first and stays down, then the key.
EDITING_KEYS = [("Control_L", "c"), ("Control_L", "v"), ("Control_L", "x"), ("Control_L", "z"),
                ("Shift_L", "Insert"), ("Shift_L", "Delete"), ("Control_L", "Insert"),
                ("Alt_L", "BackSpace")]
# The sounds a modifier pressed on its own plays (Alt acts as F10).
MODIFIER_SOUNDS = {"Control_L": "ctrl.wav", "Shift_L": "shift.wav", "Alt_L": "f10.wav"}


class MenuCase(ProgramTestCase):
    def view_shot(self, program):
        """The middle of the view, below the menu bar."""
        x, y, w, h = self.x11.geometry(program.window)
        return self.x11.screenshot((x + w // 4, y + h // 4, w // 2, h // 2))

    def wait_for(self, condition, timeout=5.0, what="the condition"):
        deadline = time.monotonic() + timeout
        while time.monotonic() < deadline:
            if condition():
                return
            time.sleep(0.02)
        self.fail(f"{what} did not happen within {timeout} s")

    def icon_sizes(self, win):
        """The sizes of the renditions in the window's _NET_WM_ICON."""
        prop = win.get_full_property(self.x11.atom("_NET_WM_ICON"), 0)
        data = list(prop.value) if prop else []
        sizes, i = set(), 0
        while i + 2 <= len(data):
            w, h = int(data[i]), int(data[i + 1])
            sizes.add((w, h))
            i += 2 + w * h
        return sizes

    def titles(self, program):
        return sorted(self.x11.window_title(w) for w in self.x11.windows_of(program.pid))

    def wait_titles(self, program, titles):
        self.wait_for(lambda: self.titles(program) == sorted(titles), what=f"windows {titles}")

    def assert_key_acts(self, program, rec, key, sound):
        """The key shows a new picture and its sound plays."""
        before = self.view_shot(program)
        t0 = time.monotonic()
        self.x11.tap(key)
        time.sleep(0.6)
        self.assertFalse(np.array_equal(self.view_shot(program), before), f"{key} showed nothing")
        return (t0, time.monotonic(), sound)


class AcceleratorKeys(MenuCase):
    def test_editing_keys_and_f6_show_no_picture_and_play_no_sound(self):
        rec = Recording()
        spans = []
        try:
            p = self.start()
            time.sleep(1.0)  # the start-up sound
            for modifier, key in EDITING_KEYS + [("Shift_L", "F6"), (None, "F6")]:
                if modifier:
                    self.x11.key(modifier, True)
                    # The modifier's own picture and sound, played out even when the audio
                    # device has to be opened again first.
                    time.sleep(1.0)
                shown = self.view_shot(p)
                t0 = time.monotonic()
                self.x11.tap(key, hold=0.05, gap=0.5)
                spans.append((modifier, key, t0, time.monotonic(),
                              np.array_equal(self.view_shot(p), shown)))
                if modifier:
                    self.x11.key(modifier, False)
                    time.sleep(0.1)
            # The same keys on their own are the view's: C shows its picture and plays C.wav.
            check = self.assert_key_acts(p, rec, "c", "C.wav")
            self.assertEqual(self.titles(p), [TITLE])
        finally:
            rec.stop()
        for modifier, key, t0, t1, unchanged in spans:
            with self.subTest(modifier=modifier, key=key):
                self.assertTrue(unchanged, "a picture was shown")
                self.assertEqual(rec.tones_heard(start=rec.at(t0), end=rec.at(t1)), [])
        self.assertEqual(rec.tones_heard(start=rec.at(check[0]), end=rec.at(check[1])), ["C.wav"])
        # Only the modifiers were heard, each time it went down alone.
        heard = set(rec.tones_heard(start=rec.at(spans[0][2])))
        self.assertLessEqual(heard, set(MODIFIER_SOUNDS.values()) | {"C.wav"})

    def test_ctrl_n_keeps_one_window_and_its_title(self):
        rec = Recording()
        try:
            p = self.start()
            time.sleep(1.0)
            self.x11.tap("a")
            time.sleep(0.5)
            t0 = time.monotonic()
            self.x11.tap("Control_L", "n", hold=0.05, gap=0.6)
            t1 = time.monotonic()
            self.assertEqual(self.titles(p), [TITLE])
            self.assertEqual(len(self.x11.windows_of(p.pid)), 1)
            self.assertTrue(p.alive())
        finally:
            rec.stop()
        self.assertEqual(rec.tones_heard(start=rec.at(t0), end=rec.at(t1)), ["ctrl.wav"])

    def test_ctrl_s_opens_save_as_and_escape_leaves_no_file(self):
        p = self.start()
        time.sleep(0.5)
        before = sorted(os.listdir(p.run_folder))
        self.x11.tap("Control_L", "s")
        self.wait_titles(p, [TITLE, "Save As"])
        self.x11.tap("Escape")
        self.wait_titles(p, [TITLE])
        time.sleep(0.3)
        self.assertEqual(sorted(os.listdir(p.run_folder)), before)
        rec = Recording()
        try:
            check = self.assert_key_acts(p, rec, "a", "A.wav")
        finally:
            rec.stop()
        self.assertEqual(rec.tones_heard(start=rec.at(check[0]), end=rec.at(check[1])), ["A.wav"])

    def test_ctrl_o_opens_open(self):
        p = self.start()
        time.sleep(0.5)
        self.x11.tap("Control_L", "o")
        self.wait_titles(p, [TITLE, "Open"])
        self.x11.tap("Escape")
        self.wait_titles(p, [TITLE])
        self.assertTrue(p.alive())


class MenuAndAboutBox(MenuCase):
    def test_about_from_the_help_menu_closes_with_escape_and_keys_act_again(self):
        p = self.start()
        time.sleep(1.0)
        self.x11.tap("Alt_L", "h")
        time.sleep(0.3)
        # Alt showed a picture; the popup opens in the corner, away from the middle.
        picture = self.view_shot(p)
        self.x11.tap("Return")
        self.wait_titles(p, [TITLE, "About Pibo"])
        box = [w for w in self.x11.windows_of(p.pid) if self.x11.window_title(w) == "About Pibo"][0]
        # The box has the keyboard: a letter typed now does nothing in the view.
        self.wait_for(lambda: self.x11.focused_window().id != p.window.id, what="the box's focus")
        x, y, w, h = self.x11.geometry(box)
        self.assertGreater(w, 300)
        self.assertGreater(h, 120)
        # Icon 128 on both windows, in its small renditions among others.
        for win in (p.window, box):
            self.assertLessEqual({(16, 16), (32, 32)}, self.icon_sizes(win))
        rec = Recording()
        try:
            t0 = time.monotonic()
            self.x11.tap("b")
            time.sleep(0.5)
            t1 = time.monotonic()
            self.x11.tap("Escape")
            self.wait_titles(p, [TITLE])
            time.sleep(0.3)
            # The view shows what it showed before the box.
            after = self.view_shot(p)
            check = self.assert_key_acts(p, rec, "b", "B.wav")
        finally:
            rec.stop()
        self.assertEqual(rec.tones_heard(start=rec.at(t0), end=rec.at(t1)), [])
        self.assertTrue(np.array_equal(after, picture), "the view changed under the box")
        self.assertEqual(rec.tones_heard(start=rec.at(check[0]), end=rec.at(check[1])), ["B.wav"])

    def test_a_key_acts_at_once_after_a_menu_was_opened_and_closed(self):
        p = self.start()
        time.sleep(1.0)
        rec = Recording()
        try:
            checks = []
            # Escape closes the popup; Return chooses own-pictures mode, then leaves it again.
            for letter, closing in (("f", "Escape"), ("v", "Escape"), ("h", "Escape"),
                                    ("v", "Return"), ("v", "Return")):
                self.x11.tap("Alt_L", letter)
                time.sleep(0.3)
                self.x11.tap(closing)
                time.sleep(0.3)
                checks.append(self.assert_key_acts(p, rec, "z", "Z.wav"))
            self.assertEqual(self.titles(p), [TITLE])
        finally:
            rec.stop()
        for t0, t1, sound in checks:
            self.assertEqual(rec.tones_heard(start=rec.at(t0), end=rec.at(t1)), [sound])

    def test_file_exit_from_the_keyboard_ends_the_program(self):
        p = self.start()
        time.sleep(1.5)
        self.x11.tap("Alt_L", "f")
        time.sleep(0.3)
        self.x11.tap("Return")
        status, _, err = p.finish(timeout=5)
        self.assertEqual(status, 0)
        self.assertEqual(err.strip(), "")


if __name__ == "__main__":
    import unittest
    unittest.main()
