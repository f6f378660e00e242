/* A small program to try the debugger on: a loop, calls, a structure, an array. */
struct point {
    int x;
    int y;
};

int counter;
struct point origin;
char message[8];

int add(int a, int b)
{
    int sum;
    sum = a + b;
    return sum;
}

void move(struct point *p, int dx, int dy)
{
    p->x = add(p->x, dx);
    p->y = add(p->y, dy);
}

void main(void)
{
    int i;
    for (i = 0; i < 10; i++) {
        counter = add(counter, i);
        move(&origin, 1, 2);
    }
    message[0] = 'o';
    message[1] = 'k';
    for (;;)
        ;
}
