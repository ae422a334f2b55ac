// Whack: foes pop out of nine holes; click them before they duck back. Thirty
// seconds a round.
Ludex.play((() => {
  const ROUND = 30;
  const SIZE = 3;
  const HOLE = 56;
  const SPACING = {x: Ludex.width / SIZE, y: (Ludex.height - 40) / SIZE};
  let holes, left, untilNext;

  const centre = i => [(i % SIZE + 0.5) * SPACING.x, 40 + (Math.floor(i / SIZE) + 0.5) * SPACING.y];

  return {
    reset() {
      holes = Array.from({length: SIZE * SIZE}, () => ({up: 0, hit: 0}));
      left = ROUND;
      untilNext = 0.5;
    },
    press(x, y) {
      const i = holes.findIndex((hole, n) => {
        const [cx, cy] = centre(n);
        return hole.up > 0 && Math.hypot(x - cx, y - cy) < HOLE;
      });
      if (i < 0) return Ludex.beep(180, 0.05);
      holes[i].up = 0;
      holes[i].hit = 0.25;
      Ludex.addScore(10);
      Ludex.beep(980, 0.06);
    },
    update(seconds) {
      left -= seconds;
      if (left <= 0) return Ludex.over('时间到');
      for (const hole of holes) {
        hole.up = Math.max(0, hole.up - seconds);
        hole.hit = Math.max(0, hole.hit - seconds);
      }
      untilNext -= seconds;
      const empty = holes.filter(hole => hole.up === 0 && hole.hit === 0);
      if (untilNext <= 0 && empty.length > 0) {
        // Foes come faster and stay shorter as the round runs out.
        empty[Ludex.random(empty.length)].up = 0.6 + left / ROUND * 0.6;
        untilNext = 0.3 + left / ROUND * 0.5;
      }
    },
    draw(context) {
      context.fillStyle = '#ffffff';
      context.font = '16px sans-serif';
      context.textAlign = 'left';
      context.textBaseline = 'top';
      context.fillText('剩余时间 ' + Math.ceil(left) + ' 秒', 8, 8);
      holes.forEach((hole, i) => {
        const [x, y] = centre(i);
        context.fillStyle = '#2a1e14';
        context.beginPath();
        context.ellipse(x, y + 22, HOLE, 16, 0, 0, 2 * Math.PI);
        context.fill();
        if (hole.up > 0 || hole.hit > 0) {
          context.fillStyle = hole.hit > 0 ? '#ffffff' : Ludex.colour;
          context.beginPath();
          context.arc(x, y, 34, 0, 2 * Math.PI);
          context.fill();
          context.fillStyle = '#101010';
          context.fillRect(x - 16, y - 8, 10, 6);
          context.fillRect(x + 6, y - 8, 10, 6);
          context.fillRect(x - 12, y + 12, 24, 4);
        }
      });
    },
  };
})());
