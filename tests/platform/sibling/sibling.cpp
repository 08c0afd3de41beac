// A stand-in sibling library with one export, loaded by the library tests.
extern "C" int SommaE(int a, int b) { return a + b; }
