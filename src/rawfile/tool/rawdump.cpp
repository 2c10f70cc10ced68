// Placeholder until the dump tool lands.
int main() { return 0; }
