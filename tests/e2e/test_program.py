"""End-to-end cases of the real program under the test display, window manager and audio server:
an ordinary start, a start with a missing file, the unregistration, and Alt+F4."""

import os
import time
import unittest

import numpy as np

from tests.e2e.harness import ProgramTestCase, Recording

APP_NAME = "Pibo's Multi-Media Application 1.0"
COMPANY = "Local AppWizard-Generated Applications"


class ProgramCase(ProgramTestCase):
    def setUp(self):
        super().setUp()
        # A desktop session has a runtime folder; without one Qt says so on every start.
        self.runtime = os.path.join(self.workdir, "runtime")
        os.makedirs(self.runtime, mode=0o700)
        self.env = {"XDG_RUNTIME_DIR": self.runtime}

    def settings_file(self, program):
        return os.path.join(program.config, COMPANY, APP_NAME + ".conf")

    def assert_quiet(self, output):
        status, _, err = output
        self.assertEqual(status, 0)
        self.assertEqual(err.strip(), "", "the program printed: " + err)

    def answer_message_box(self, program):
        """The message box: titled with the application name, with the keyboard focus; Return
        dismisses it and the program ends without having mapped a main window."""
        box = program.wait_window(self.x11, APP_NAME)
        deadline = time.monotonic() + 5
        while self.x11.focused_window().id != box.id and time.monotonic() < deadline:
            time.sleep(0.02)
        self.assertEqual(self.x11.focused_window().id, box.id, "the message box has no focus")
        titles = [self.x11.window_title(w) for w in self.x11.windows_of(program.pid)]
        self.assertEqual(titles, [APP_NAME])
        self.x11.tap("Return")
        # Ending is bounded by the wait only: how fast it ends is for the benchmarks.
        return program.finish(timeout=5)


class StartUp(ProgramCase):
    def test_maximised_window_with_the_prompt_and_the_startup_sound(self):
        rec = Recording()
        try:
            p = self.start(env=self.env)
            self.assertTrue(self.x11.is_maximised(p.window))
            time.sleep(1.0)
            shot = self.x11.screenshot(self.x11.geometry(p.window))
        finally:
            rec.stop()
        self.assertGreater(rec.heard("takeoff.wav", start=rec.at(p.started)), 0.2)

        # The window fills the screen (less what the window manager keeps for itself).
        root = self.x11.root.get_geometry()
        x, y, w, h = self.x11.geometry(p.window)
        self.assertGreater(w, root.width * 0.95)
        self.assertGreater(h, root.height * 0.9)

        # The prompt: a line of dark text around the middle of a window-coloured client area.
        colours, counts = np.unique(shot.reshape(-1, 3), axis=0, return_counts=True)
        background = colours[np.argmax(counts)]
        dark = np.argwhere(shot.sum(axis=2) < 200)
        self.assertGreater(len(dark), 100, "no text to be seen")
        below_menu = dark[dark[:, 0] > 40]
        rows, cols = below_menu[:, 0], below_menu[:, 1]
        self.assertLess(rows.max() - rows.min(), 30, "more than one line of text")
        self.assertAlmostEqual((cols.min() + cols.max()) / 2, w / 2, delta=w * 0.02)
        self.assertGreater(rows.min(), h * 0.4)
        self.assertLess(rows.max(), h * 0.6)
        self.assertGreater(int(background.sum()), 600, "the background is not a light window colour")

        self.x11.tap("Alt_L", "F4")
        self.assert_quiet(p.finish(timeout=5))


class MissingFile(ProgramCase):
    def test_reports_the_file_and_ends_without_a_window_or_a_sound(self):
        rec = Recording()
        try:
            p = self.start(args=["no-such-file.txt"], env=self.env, title=None)
            output = self.answer_message_box(p)
            time.sleep(0.5)
        finally:
            rec.stop()
        self.assertEqual(output[0], 0)
        self.assertEqual(rec.heard("takeoff.wav", start=rec.at(p.started)), 0)


class Unregister(ProgramCase):
    def test_removes_the_settings_and_ends_without_a_window(self):
        first = self.start(env=self.env)
        self.x11.tap("Alt_L", "F4")
        self.assert_quiet(first.finish(timeout=5))
        path = self.settings_file(first)
        self.assertTrue(os.path.exists(path))
        with open(path, "w") as f:
            f.write("[Settings]\nPreviewPages=5\n")

        p = self.start(args=["/Unregister"], env=self.env, title=None)
        self.answer_message_box(p)
        self.assertFalse(os.path.exists(path))
        self.assertFalse(os.path.exists(os.path.dirname(path)))

    def test_embedding_and_print_end_at_once_without_any_window(self):
        doc = os.path.join(self.workdir, "doc.txt")
        with open(doc, "w") as f:
            f.write("x")
        for args in (["/Unregister", "/Embedding"], ["/p", doc]):
            with self.subTest(args=args):
                p = self.start(args=args, env=self.env, title=None)
                status, _, err = p.finish(timeout=5)
                self.assertEqual(status, 0)
                self.assertEqual(self.x11.windows_of(p.pid), [])
        with open(doc) as f:
            self.assertEqual(f.read(), "x")


class Closing(ProgramCase):
    def test_alt_f4_ends_the_program_with_status_zero(self):
        p = self.start(env=self.env)
        # Once the start-up sound has played out (closing the audio device earlier waits for it).
        time.sleep(2.0)
        self.x11.tap("Alt_L", "F4")
        self.assert_quiet(p.finish(timeout=5))
        # The settings value is written back only when nonzero: the key is there, no value.
        with open(self.settings_file(p)) as f:
            self.assertEqual(f.read(), "[Settings]\n")


if __name__ == "__main__":
    unittest.main()
