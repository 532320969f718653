// The life of the sound service behind PlaySoundA and MessageBeep. It starts by itself on the
// first request; StartSoundService starts it earlier, without waiting for anything, so that the
// audio server is connected and the device open by the time the first sound is asked for.
// ShutdownSoundService stops the sound playing, closes the device and ends the worker; it is safe
// to call when the service never started, and more than once. It waits for the worker at most two
// seconds (only an audio server that hangs takes that long) and then leaves it behind; requests are
// dropped from then on. Otherwise a request after it starts the service again.
#pragma once

void StartSoundService();
void ShutdownSoundService();
