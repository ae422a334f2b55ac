// Snake: steer with the arrow keys or WASD (or click to turn towards a
// point), eat, grow, and touch neither the walls nor yourself.
Ludex.play((() => {
  const CELL = 20;
  const COLUMNS = Math.floor(Ludex.width / CELL);
  const ROWS = Math.floor(Ludex.height / CELL);
  const DIRECTIONS = {
    ArrowUp: [0, -1], w: [0, -1], ArrowDown: [0, 1], s: [0, 1],
    ArrowLeft: [-1, 0], a: [-1, 0], ArrowRight: [1, 0], d: [1, 0],
  };
  let body, heading, wanted, food, clock;

  const occupied = ([x, y]) => body.some(([bx, by]) => bx === x && by === y);

  function placeFood() {
    do food = [Ludex.random(COLUMNS), Ludex.random(ROWS)]; while (occupied(food));
  }

  // A turn back onto the neck is no turn.
  function turn(direction) {
    if (direction[0] !== -heading[0] || direction[1] !== -heading[1]) wanted = direction;
  }

  return {
    reset() {
      const row = Math.floor(ROWS / 2);
      body = [[5, row], [4, row], [3, row]];
      heading = wanted = [1, 0];
      clock = 0;
      placeFood();
    },
    key(name, down) {
      const direction = DIRECTIONS[name] || DIRECTIONS[name.toLowerCase()];
      if (down && direction) turn(direction);
    },
    press(x, y) {
      const [hx, hy] = body[0];
      if (heading[0] !== 0) turn([0, y < (hy + 0.5) * CELL ? -1 : 1]);
      else turn([x < (hx + 0.5) * CELL ? -1 : 1, 0]);
    },
    update(seconds) {
      clock += seconds;
      const step = Math.max(0.06, 0.15 - Ludex.score() * 0.001);
      if (clock < step) return;
      clock = 0;
      heading = wanted;
      const head = [body[0][0] + heading[0], body[0][1] + heading[1]];
      body.pop();
      if (head[0] < 0 || head[1] < 0 || head[0] >= COLUMNS || head[1] >= ROWS || occupied(head)) {
        return Ludex.over('撞上了');
      }
      body.unshift(head);
      if (head[0] === food[0] && head[1] === food[1]) {
        body.push(body[body.length - 1]);
        Ludex.addScore(10);
        Ludex.beep(880);
        placeFood();
      }
    },
    draw(context) {
      context.fillStyle = '#ffd040';
      context.beginPath();
      context.arc((food[0] + 0.5) * CELL, (food[1] + 0.5) * CELL, CELL / 2 - 3, 0, 2 * Math.PI);
      context.fill();
      body.forEach(([x, y], i) => {
        context.fillStyle = i === 0 ? '#ffffff' : Ludex.colour;
        context.fillRect(x * CELL + 1, y * CELL + 1, CELL - 2, CELL - 2);
      });
    },
  };
})());
