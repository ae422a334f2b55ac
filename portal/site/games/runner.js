// Runner: the hero runs on by himself; jump (space, up arrow or a click) over
// whatever comes along the road. The score is the distance run.
Ludex.play((() => {
  const GROUND = Ludex.height - 50;
  const HERO = {x: 80, width: 28, height: 40};
  const GRAVITY = 1800;
  const JUMP = -680;
  let y, speed, distance, obstacles, untilNext;

  const onGround = () => y >= GROUND - HERO.height;

  function jump() {
    if (!onGround()) return;
    speed.y = JUMP;
    Ludex.beep(520, 0.06);
  }

  return {
    reset() {
      y = GROUND - HERO.height;
      speed = {x: 260, y: 0};
      distance = 0;
      obstacles = [];
      untilNext = 1;
    },
    key(name, down) {
      if (down && (name === ' ' || name === 'ArrowUp' || name === 'w')) jump();
    },
    press() {
      jump();
    },
    update(seconds) {
      speed.x += seconds * 6;
      speed.y += GRAVITY * seconds;
      y = Math.min(GROUND - HERO.height, y + speed.y * seconds);
      if (onGround()) speed.y = 0;
      untilNext -= seconds;
      if (untilNext <= 0) {
        const tall = Ludex.random(2) === 1;
        obstacles.push({x: Ludex.width, width: tall ? 18 : 34, height: tall ? 52 : 26, tall});
        untilNext = 0.8 + Math.random() * 1.1;
      }
      for (const o of obstacles) o.x -= speed.x * seconds;
      obstacles = obstacles.filter(o => o.x + o.width > 0);
      const hit = obstacles.some(o => o.x < HERO.x + HERO.width && o.x + o.width > HERO.x &&
                                      y + HERO.height > GROUND - o.height);
      if (hit) return Ludex.over('摔倒了');
      distance += speed.x * seconds;
      const metres = Math.floor(distance / 20);
      if (metres !== Ludex.score()) Ludex.setScore(metres);
    },
    draw(context) {
      context.fillStyle = '#3a3020';
      context.fillRect(0, GROUND, Ludex.width, Ludex.height - GROUND);
      for (const o of obstacles) {
        context.fillStyle = o.tall ? '#40a040' : '#8a8a8a';
        context.fillRect(o.x, GROUND - o.height, o.width, o.height);
      }
      context.fillStyle = '#202020';
      context.fillRect(HERO.x, y, HERO.width, HERO.height);
      context.fillStyle = Ludex.colour;
      context.fillRect(HERO.x, y + 8, HERO.width, 6);
      context.fillStyle = '#ffffff';
      context.fillRect(HERO.x + 18, y + 9, 5, 4);
    },
  };
})());
