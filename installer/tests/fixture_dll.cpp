// A stand-in for an outside library already in the POS folder; only its version resource
// (older, equal or newer of ours, someone else's, or none) matters to the installer.
extern "C" __declspec(dllexport) int FixtureVersionMark() {
    return 1;
}
