"""The command line the benchmark table scripts share:
[path/to/bench] [rounds] [--before OTHER_BENCH]."""


def parse(argv, default_bench, default_rounds):
    """Gives (bench, rounds, before); before is None without --before."""
    args = list(argv)
    before = None
    if "--before" in args:
        i = args.index("--before")
        before = args[i + 1]
        del args[i:i + 2]
    bench = args[0] if len(args) > 0 else default_bench
    rounds = int(args[1]) if len(args) > 1 else default_rounds
    return bench, rounds, before
