// Links every object of both programs' window libraries into one program.
// Tavimo and Varunel each have their own main window with the same class and
// handler names; a name the two defined alike in one scope would make the
// linker take one of them silently in an ordinary link, and fails this one.
int main() { return 0; }
