"""End-to-end cases of key presses and mouse buttons in the real program: what is shown and what
is heard, and a key held on a busy machine acting once."""

import os
import subprocess
import time

from tests.e2e.harness import ProgramTestCase, Recording

# Background colours of some built-in pictures, as the window shows them.
YELLOW, MAGENTA, WHITE = (255, 255, 0), (255, 0, 255), (255, 255, 255)


class KeyCase(ProgramTestCase):
    def corner_colour(self, program):
        """The colour near the bottom-right corner of the view: a picture's background."""
        x, y, w, h = self.x11.geometry(program.window)
        shot = self.x11.screenshot((x + w - 30, y + h - 30, 4, 4))
        return tuple(int(c) for c in shot[1, 1])

    def press(self, rec, *keys, hold=0.05, wait=0.6):
        """Taps the keys (a chord, released in reverse) and returns the recording time span
        in which its sounds play."""
        t0 = time.monotonic()
        self.x11.tap(*keys, hold=hold, gap=0)
        time.sleep(wait)
        return t0, time.monotonic()

    def heard_between(self, rec, span):
        return rec.tones_heard(start=rec.at(span[0]), end=rec.at(span[1]))


class KeysAreSeenAndHeard(KeyCase):
    def test_letters_digits_keypad_other_keys_and_keys_without_a_sound(self):
        rec = Recording()
        try:
            p = self.start()
            time.sleep(0.8)  # the start-up sound
            spans, colours = {}, {}
            spans["a"] = self.press(rec, "a")
            colours["a"] = self.corner_colour(p)
            spans["5"] = self.press(rec, "5")
            colours["5"] = self.corner_colour(p)
            spans["space"] = self.press(rec, "space")          # other key: picture 165
            spans["Num_Lock"] = self.press(rec, "Num_Lock")    # other key: picture 166
            spans["KP_5"] = self.press(rec, "KP_5")            # other key: picture 167
            colours["KP_5"] = self.corner_colour(p)
            spans["semicolon"] = self.press(rec, "semicolon")  # no entry in the sound table
            self.press(rec, "Num_Lock")
            self.assertTrue(p.alive())
        finally:
            rec.stop()
        heard = {k: self.heard_between(rec, s) for k, s in spans.items()}
        self.assertEqual(heard["a"], ["A.wav"])
        self.assertEqual(heard["5"], ["5.wav"])
        self.assertEqual(heard["space"], ["space.wav"])
        self.assertEqual(heard["Num_Lock"], ["f9.wav"])
        self.assertEqual(heard["KP_5"], ["5.wav"])
        # The exclamation beep, at once replaced by the request for the sound folder itself,
        # which plays the default sound.
        self.assertEqual(heard["semicolon"], ["default"])
        self.assertEqual(colours["a"], YELLOW)      # picture 129
        self.assertEqual(colours["5"], MAGENTA)     # picture 160
        self.assertEqual(colours["KP_5"], YELLOW)   # picture 167, not the digit's 160

    def test_mouse_buttons_play_their_press_and_release_sounds(self):
        rec = Recording()
        try:
            p = self.start()
            time.sleep(0.8)
            x, y, w, h = self.x11.geometry(p.window)
            spans = {}
            for button in (1, 3, 2):
                t0 = time.monotonic()
                self.x11.click(button, x + w // 2, y + h // 2, hold=0.3)
                time.sleep(0.6)
                spans[button] = (t0, time.monotonic())
            self.assertTrue(p.alive())
        finally:
            rec.stop()
        self.assertEqual(self.heard_between(rec, spans[1]), ["enter.wav", "tab.wav"])
        self.assertEqual(self.heard_between(rec, spans[3]), ["ctrl.wav", "back.wav"])
        self.assertEqual(self.heard_between(rec, spans[2]), [])


class HeldKey(KeyCase):
    def test_a_key_held_on_a_busy_machine_acts_once(self):
        # Keep both cores busy so that auto-repeat events pile up the way they do under load.
        hogs = [subprocess.Popen(["sh", "-c", "while :; do :; done"]) for _ in range(os.cpu_count() or 2)]
        rec = Recording()
        try:
            p = self.start()
            time.sleep(0.8)
            t0 = time.monotonic()
            self.x11.key("b", True)
            time.sleep(1.5)
            self.x11.key("b", False)
            time.sleep(0.8)
            t1 = time.monotonic()
            self.assertTrue(p.alive())
        finally:
            rec.stop()
            for h in hogs:
                h.kill()
                h.wait()
        start, end = rec.at(t0), rec.at(t1)
        self.assertEqual(rec.tones_heard(start=start, end=end), ["B.wav"])
        # Acting again would restart the 0.4 s tone and make it sound longer.
        self.assertLess(rec.heard("B.wav", start, end), 0.5)
