// Compiled with the project's settings: its warning must stop the build.
int warningProbe()
{
    int unused = 0;
    return 1;
}
