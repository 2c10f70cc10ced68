// Placeholder until brisel lands.
int main() { return 0; }
