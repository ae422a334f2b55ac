// Bricks: keep the ball up with the paddle (mouse, or the left and right
// arrow keys) and break every brick; three balls to a game.
Ludex.play((() => {
  const COLUMNS = 10;
  const ROWS = 5;
  const GAP = 4;
  const BRICK = {width: (Ludex.width - GAP * (COLUMNS + 1)) / COLUMNS, height: 18};
  const PADDLE = {width: 100, height: 12, y: Ludex.height - 30};
  const RADIUS = 7;
  let paddle, ball, bricks, balls, held, level;

  function serve() {
    ball = {x: paddle + PADDLE.width / 2, y: PADDLE.y - RADIUS - 1, dx: 180 + 30 * level, dy: -(240 + 30 * level)};
  }

  function build() {
    bricks = [];
    for (let row = 0; row < ROWS; row++) {
      for (let column = 0; column < COLUMNS; column++) {
        bricks.push({x: GAP + column * (BRICK.width + GAP), y: 30 + row * (BRICK.height + GAP), row});
      }
    }
  }

  const clampPaddle = x => Math.max(0, Math.min(Ludex.width - PADDLE.width, x));

  return {
    reset() {
      paddle = (Ludex.width - PADDLE.width) / 2;
      balls = 3;
      level = 0;
      held = {};
      build();
      serve();
    },
    key(name, down) {
      held[name] = down;
    },
    point(x) {
      paddle = clampPaddle(x - PADDLE.width / 2);
    },
    update(seconds) {
      const push = (held.ArrowRight ? 1 : 0) - (held.ArrowLeft ? 1 : 0);
      paddle = clampPaddle(paddle + push * 420 * seconds);
      ball.x += ball.dx * seconds;
      ball.y += ball.dy * seconds;
      if (ball.x < RADIUS || ball.x > Ludex.width - RADIUS) {
        ball.dx = -ball.dx;
        ball.x = Math.max(RADIUS, Math.min(Ludex.width - RADIUS, ball.x));
      }
      if (ball.y < RADIUS) {
        ball.dy = Math.abs(ball.dy);
      }
      if (ball.dy > 0 && ball.y + RADIUS >= PADDLE.y && ball.y < PADDLE.y + PADDLE.height &&
          ball.x >= paddle - RADIUS && ball.x <= paddle + PADDLE.width + RADIUS) {
        // Where the ball meets the paddle sets the angle it leaves at.
        const along = (ball.x - paddle) / PADDLE.width - 0.5;
        const pace = Math.hypot(ball.dx, ball.dy);
        ball.dx = pace * along * 1.4;
        ball.dy = -Math.sqrt(pace * pace - ball.dx * ball.dx);
        Ludex.beep(440, 0.04);
      }
      const hit = bricks.findIndex(b => ball.x + RADIUS > b.x && ball.x - RADIUS < b.x + BRICK.width &&
                                         ball.y + RADIUS > b.y && ball.y - RADIUS < b.y + BRICK.height);
      if (hit >= 0) {
        bricks.splice(hit, 1);
        ball.dy = -ball.dy;
        Ludex.addScore(10);
        Ludex.beep(760, 0.05);
        if (bricks.length === 0) {
          level += 1;
          build();
          serve();
        }
      }
      if (ball.y > Ludex.height + RADIUS) {
        balls -= 1;
        if (balls === 0) return Ludex.over('球都丢了');
        serve();
      }
    },
    draw(context) {
      for (const b of bricks) {
        context.fillStyle = b.row % 2 ? Ludex.colour : '#d8d8d8';
        context.fillRect(b.x, b.y, BRICK.width, BRICK.height);
      }
      context.fillStyle = '#ffffff';
      context.fillRect(paddle, PADDLE.y, PADDLE.width, PADDLE.height);
      context.beginPath();
      context.arc(ball.x, ball.y, RADIUS, 0, 2 * Math.PI);
      context.fillStyle = '#ffb030';
      context.fill();
      context.fillStyle = '#ffffff';
      context.font = '14px sans-serif';
      context.textAlign = 'left';
      context.textBaseline = 'top';
      context.fillText('剩余球数 ' + balls, 8, 6);
    },
  };
})());
