// the five exports: see issue work in progress
