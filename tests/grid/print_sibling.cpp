// A library named as the print library that lacks the grid print's export.
extern "C" int ShowPelk11AltroD(int utente) { return utente; }
