// The process floor for pnt's benchmark (compare-gpsbabel.sh): a program compiled and linked
// as pnt is that only starts and exits.
int main() { return 0; }
