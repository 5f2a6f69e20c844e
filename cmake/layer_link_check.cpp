// The program that each layer is linked into whole, with only the layers below it: it
// references nothing itself, so the link fails with an undefined reference as soon as
// any object of the layer calls a function of a layer above it.
int main() { return 0; }
