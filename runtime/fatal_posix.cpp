void show_fatal_report(const char *) {}
