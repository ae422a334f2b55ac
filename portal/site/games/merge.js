// Merge: the arrow keys or WASD (or a click on a side of the board) slide
// every tile that way; two equal tiles that meet become one of twice the
// value, which is added to the score. A new tile comes after every move.
Ludex.play((() => {
  const SIZE = 4;
  const TILE = 82;
  const GAP = 8;
  const BOARD = SIZE * TILE + (SIZE + 1) * GAP;
  const LEFT = (Ludex.width - BOARD) / 2;
  const TOP = (Ludex.height - BOARD) / 2;
  const KEYS = {
    ArrowLeft: [-1, 0], a: [-1, 0], ArrowRight: [1, 0], d: [1, 0],
    ArrowUp: [0, -1], w: [0, -1], ArrowDown: [0, 1], s: [0, 1],
  };
  let grid;

  function addTile() {
    const empty = [];
    grid.forEach((value, i) => { if (value === 0) empty.push(i); });
    if (empty.length) grid[empty[Ludex.random(empty.length)]] = Math.random() < 0.9 ? 2 : 4;
  }

  // The cells of one line, in the order they are slid towards.
  function line(direction, k) {
    const cells = [];
    for (let step = 0; step < SIZE; step++) {
      const along = direction[0] + direction[1] > 0 ? SIZE - 1 - step : step;
      cells.push(direction[0] !== 0 ? k * SIZE + along : along * SIZE + k);
    }
    return cells;
  }

  function slide(direction) {
    let moved = false;
    for (let k = 0; k < SIZE; k++) {
      const cells = line(direction, k);
      const values = cells.map(i => grid[i]).filter(v => v !== 0);
      const merged = [];
      for (let i = 0; i < values.length; i++) {
        if (values[i] === values[i + 1]) {
          merged.push(values[i] * 2);
          Ludex.addScore(values[i] * 2);
          i++;
        } else {
          merged.push(values[i]);
        }
      }
      cells.forEach((cell, i) => {
        const value = merged[i] || 0;
        if (grid[cell] !== value) moved = true;
        grid[cell] = value;
      });
    }
    return moved;
  }

  function stuck() {
    return grid.every((value, i) => value !== 0 &&
      (i % SIZE === SIZE - 1 || grid[i + 1] !== value) && (i + SIZE >= grid.length || grid[i + SIZE] !== value));
  }

  function move(direction) {
    if (!slide(direction)) return;
    Ludex.beep(500, 0.04);
    addTile();
    if (stuck()) Ludex.over('无路可走');
  }

  return {
    reset() {
      grid = new Array(SIZE * SIZE).fill(0);
      addTile();
      addTile();
    },
    key(name, down) {
      const direction = KEYS[name] || KEYS[name.toLowerCase()];
      if (down && direction) move(direction);
    },
    press(x, y) {
      const dx = x - (LEFT + BOARD / 2);
      const dy = y - (TOP + BOARD / 2);
      move(Math.abs(dx) > Math.abs(dy) ? [Math.sign(dx), 0] : [0, Math.sign(dy) || 1]);
    },
    update() {},
    draw(context) {
      context.fillStyle = '#3a3446';
      context.fillRect(LEFT, TOP, BOARD, BOARD);
      context.textAlign = 'center';
      context.textBaseline = 'middle';
      grid.forEach((value, i) => {
        const x = LEFT + GAP + (i % SIZE) * (TILE + GAP);
        const y = TOP + GAP + Math.floor(i / SIZE) * (TILE + GAP);
        const shade = value ? Math.min(1, Math.log2(value) / 11) : 0;
        context.fillStyle = value ? `rgb(${240 - 60 * shade}, ${220 - 150 * shade}, ${200 - 160 * shade})` : '#4c465a';
        context.fillRect(x, y, TILE, TILE);
        if (!value) return;
        context.fillStyle = shade > 0.3 ? '#ffffff' : '#3a2a20';
        context.font = `bold ${value < 1000 ? 32 : 24}px sans-serif`;
        context.fillText(String(value), x + TILE / 2, y + TILE / 2);
      });
    },
  };
})());
